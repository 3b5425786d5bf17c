#include "emulation/printer_state_file.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "base/wide_text.h"
#include "log/file_lock.h"
#include "protocol/printer_queries.h"

namespace fwup {
namespace {

using nlohmann::json;

// A state file only ever holds one short line per printer of a scenario.
constexpr std::uintmax_t kMaxStateBytes = 1 << 20;

std::string PathText(const std::filesystem::path& file) {
    const std::u8string utf8 = file.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace

std::string PackageVersionText() {
    return std::string("V2.1") + kPackageVersionMajorDigit + "." + kPackageVersionMinorDigit;
}

bool ReadPrinterVersions(const std::filesystem::path& file, PrinterVersions& versions,
                         std::string& error) {
    versions.clear();
    std::error_code code;
    if (!std::filesystem::exists(file, code)) {
        return !code;
    }
    const std::string name = PathText(file);
    const std::uintmax_t size = std::filesystem::file_size(file, code);
    if (code || size > kMaxStateBytes) {
        error = "printer state file '" + name + "' cannot be read or is too large";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.is_open() || in.bad()) {
        error = "cannot read printer state file '" + name + "'";
        return false;
    }
    try {
        const json root = json::parse(text.str());
        const json* printers =
            root.is_object() && root.contains("printers") ? &root["printers"] : nullptr;
        if (printers == nullptr || !printers->is_object()) {
            error = "printer state file '" + name + "' holds no 'printers' object";
            return false;
        }
        for (const auto& [path, version] : printers->items()) {
            if (!version.is_string()) {
                error = "printer state file '" + name + "': the version of '" + path +
                        "' is not a string";
                return false;
            }
            versions[FromUtf8(path)] = version.get<std::string>();
        }
    } catch (const json::exception& e) {
        error = "printer state file '" + name + "' is damaged: " + e.what();
        return false;
    }
    return true;
}

bool RecordPrinterVersion(const std::filesystem::path& file, const std::wstring& interfacePath,
                          const std::string& version, std::string& error) {
    // upgrade --all --parallel flashes each printer from a process of its own: without the hold,
    // one process's replace would drop what another had recorded since it read the file, and
    // two would write the same file beside it at once.
    std::filesystem::path lockFile = file;
    lockFile += ".lock";
    const FileLock lock(FromUtf8(PathText(lockFile)));
    if (!lock.held()) {
        error = "cannot lock printer state file '" + PathText(lockFile) + "'";
        return false;
    }
    PrinterVersions versions;
    if (!ReadPrinterVersions(file, versions, error)) {
        return false;
    }
    versions[interfacePath] = version;
    json printers = json::object();
    for (const auto& [path, text] : versions) {
        printers[ToUtf8(path)] = text;
    }
    const json root = {{"printers", printers}};
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << root.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
        out.close();
        if (!out) {
            error = "cannot write printer state file '" + PathText(temporary) + "'";
            return false;
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, file, code);
    if (code) {
        error = "cannot replace printer state file '" + PathText(file) + "': " + code.message();
        return false;
    }
    return true;
}

}  // namespace fwup
