#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/environment.h"
#include "base/wide_text.h"
#include "log/tool_log_place.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// Effective ids, as the open that follows uses; root passes wherever the file system is writable.
bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool CanWriteBesideExecutable(const std::string& logPath) {
    if (::access(logPath.c_str(), F_OK) == 0) {
        return Writable(logPath);
    }
    return Writable(fs::path(logPath).parent_path().string());
}

// The XDG base directory rules: a relative value is to be ignored.
std::optional<fs::path> StateHome() {
    if (const std::optional<fs::path> state = EnvironmentPath(L"XDG_STATE_HOME");
        state && state->is_absolute()) {
        return *state;
    }
    if (const std::optional<fs::path> home = EnvironmentPath(L"HOME");
        home && home->is_absolute()) {
        return *home / ".local" / "state";
    }
    return std::nullopt;
}

}  // namespace

std::wstring HostToolLogPath(const std::wstring& besideExecutable) {
    if (besideExecutable.empty()) {
        return {};
    }
    if (CanWriteBesideExecutable(ToUtf8(besideExecutable))) {
        return besideExecutable;
    }
    const std::optional<fs::path> stateHome = StateHome();
    if (!stateHome) {
        return {};
    }
    const fs::path dir = *stateHome / "viruzu-fwup";
    std::error_code error;
    fs::create_directories(dir, error);
    if (error) {
        return {};
    }
    const std::string path = (dir / "Tool.log").string();
    // A name that is not UTF-8 would come back from the wide form as another name.
    std::wstring wide = FromUtf8(path);
    if (ToUtf8(wide) != path) {
        return {};
    }
    return wide;
}

}  // namespace fwup
