#include "emulation/scenario_parser.h"

#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

#include <nlohmann/json.hpp>

#include "base/hex_digit.h"
#include "base/wide_text.h"
#include "device/channel.h"
#include "device/usbprint_path.h"
#include "emulation/field_reader.h"
#include "emulation/printer_state_file.h"
#include "emulation/security_record.h"

namespace fwup {
namespace {

using nlohmann::json;

constexpr std::size_t kMaxNoteBytes = 4096;
constexpr std::size_t kMaxInstanceIdBytes = 1024;
constexpr std::size_t kMaxInterfacePathBytes = 1024;
constexpr std::size_t kMaxVersionBytes = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint64_t kMaxAwaySeconds = 86400;
constexpr std::uint64_t kMaxTriggerSeconds = 86400;
constexpr std::size_t kMaxScenarioQueues = 64;
constexpr std::size_t kMaxQueuePortBytes = 1024;
constexpr std::size_t kMaxStatePathBytes = 4096;
constexpr std::uint64_t kMaxByteOffset = 1ULL << 40;
constexpr std::uint64_t kMaxFaultCount = 1'000'000;
constexpr std::uint64_t kMaxSilentSeconds = 86'400;
constexpr std::uint64_t kMaxReadTimeoutMs = 600'000;
constexpr std::uint64_t kMax16 = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();

// Thrown from the parser's callback to stop a document that nests without end.
struct TooDeep {};

// "00 ac 0F" or "00ac0f": pairs of hex digits, blanks allowed between the pairs.
bool ParseHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes) {
    int high = -1;
    for (char c : text) {
        if (high < 0 && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            continue;
        }
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return false;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return high < 0 && bytes.size() <= kMaxSecurityRecordBytes;
}

void ReadSecurity(const json& value, const std::string& path, SecuritySource& security,
                  std::string& error) {
    FieldReader reader(value, path, {"security", "length", "crcBytesEqual", "raw"}, error);
    if (reader.Member("raw") != nullptr) {
        if (reader.Member("security") || reader.Member("length") ||
            reader.Member("crcBytesEqual")) {
            reader.Fail("'" + path + "' takes either 'raw' or 'security', not both");
            return;
        }
        const auto raw = reader.Text("raw", 0, 4 * kMaxSecurityRecordBytes);
        if (raw && !ParseHexBytes(*raw, security.rawBytes)) {
            reader.Fail("'" + reader.KeyPath("raw") + "' must be hex bytes, at most " +
                        std::to_string(kMaxSecurityRecordBytes) + " of them");
        }
        security.raw = true;
        return;
    }
    reader.Require("security");
    if (const auto byte = reader.Unsigned("security", 0, 255)) {
        security.security = static_cast<std::uint8_t>(*byte);
    }
    if (const auto length = reader.Unsigned("length", 0, kMaxSecurityRecordBytes)) {
        security.length = static_cast<std::size_t>(*length);
    }
    security.crcBytesEqual = reader.Flag("crcBytesEqual").value_or(false);
}

void ReadFaults(const json& value, const std::string& path, SimFaults& faults, std::string& error) {
    FieldReader reader(value, path,
                       {"maxWriteBytes", "zeroWriteAtByte", "unplugAtByte", "failWrites",
                        "linkBytesPerSecond", "failReads", "silentReadSeconds", "replyPieceBytes",
                        "replyPrefix", "replyCmdId", "replyCmdStatus", "versionLength",
                        "versionDataWithheld", "badCrc", "vendorError", "vendorReturnsNothing"},
                       error);
    if (const auto n = reader.Unsigned("maxWriteBytes", 1, kMaxWriteBytes)) {
        faults.maxWriteBytes = static_cast<std::size_t>(*n);
    }
    faults.zeroWriteAtByte = reader.Unsigned("zeroWriteAtByte", 0, kMaxByteOffset);
    faults.unplugAtByte = reader.Unsigned("unplugAtByte", 0, kMaxByteOffset);
    if (const auto n = reader.Unsigned("failWrites", 0, kMaxFaultCount)) {
        faults.failWrites = static_cast<std::uint32_t>(*n);
    }
    faults.linkBytesPerSecond = reader.Unsigned("linkBytesPerSecond", 1, kMaxByteOffset);
    if (const auto n = reader.Unsigned("failReads", 0, kMaxFaultCount)) {
        faults.failReads = static_cast<std::uint32_t>(*n);
    }
    if (const auto n = reader.Unsigned("silentReadSeconds", 0, kMaxSilentSeconds)) {
        faults.silentReadSeconds = static_cast<std::uint32_t>(*n);
    }
    if (const auto n = reader.Unsigned("replyPieceBytes", 1, kMax16 + 1)) {
        faults.replyPieceBytes = static_cast<std::size_t>(*n);
    }
    if (const auto n = reader.Unsigned("replyPrefix", 0, kMax16)) {
        faults.replyPrefix = static_cast<std::uint16_t>(*n);
    }
    if (const auto n = reader.Unsigned("replyCmdId", 0, kMax16)) {
        faults.replyCmdId = static_cast<std::uint16_t>(*n);
    }
    if (const auto n = reader.Unsigned("replyCmdStatus", 0, kMax16)) {
        faults.replyCmdStatus = static_cast<std::uint16_t>(*n);
    }
    if (const auto n = reader.Unsigned("versionLength", 0, kMax16)) {
        faults.versionLength = static_cast<std::uint16_t>(*n);
    }
    faults.versionDataWithheld = reader.Flag("versionDataWithheld").value_or(false);
    faults.badCrc = reader.Flag("badCrc").value_or(false);
    if (const auto n = reader.Unsigned("vendorError", 1, kMax32)) {
        faults.vendorError = static_cast<std::uint32_t>(*n);
    }
    faults.vendorReturnsNothing = reader.Flag("vendorReturnsNothing").value_or(false);
}

void ReadQueue(const json& value, const std::string& path, QueueScenario& queue,
               std::string& error) {
    FieldReader reader(value, path, {"portName", "jobs"}, error);
    reader.Require("portName");
    if (const auto port = reader.Text("portName", 0, kMaxQueuePortBytes)) {
        queue.portName = FromUtf8(*port);
    }
    if (const auto jobs = reader.Unsigned("jobs", 0, kMaxFaultCount)) {
        queue.jobs = static_cast<std::uint32_t>(*jobs);
    }
}

void ReadAfterFirmware(const json& value, const std::string& path, PrinterScenario& printer,
                       std::string& error) {
    FieldReader reader(value, path, {"awaySeconds", "version"}, error);
    AfterFirmware after;
    reader.Require("awaySeconds");
    if (const auto seconds = reader.Unsigned("awaySeconds", 0, kMaxAwaySeconds)) {
        after.awaySeconds = static_cast<std::uint32_t>(*seconds);
    }
    after.version = reader.Text("version", 0, kMaxVersionBytes);
    printer.afterFirmware = std::move(after);
}

// {"afterOpens": n} or {"atByte": n}: one of the two.
void ReadHotplug(const json& value, const std::string& path, HotplugTrigger& trigger,
                 std::string& error) {
    FieldReader reader(value, path, {"afterOpens", "atByte"}, error);
    if (const auto n = reader.Unsigned("afterOpens", 1, kMaxFaultCount)) {
        trigger.afterOpens = static_cast<std::uint32_t>(*n);
    }
    trigger.atByte = reader.Unsigned("atByte", 1, kMaxByteOffset);
    if (reader.ok() && trigger.afterOpens.has_value() == trigger.atByte.has_value()) {
        reader.Fail("'" + path + "' takes one of 'afterOpens' and 'atByte'");
    }
}

// "appearsAfterSeconds": n beside a printer's other keys; one trigger a printer, so not with
// "appears" as well.
void ReadTimedHotplug(FieldReader& reader, const std::string& key, HotplugTrigger& trigger) {
    const std::string timedKey = key + "AfterSeconds";
    if (reader.Member(timedKey) != nullptr && reader.Member(key) != nullptr) {
        reader.Fail("'" + reader.KeyPath(timedKey) + "' cannot be given with '" + key + "'");
        return;
    }
    if (const auto seconds = reader.Unsigned(timedKey, 1, kMaxTriggerSeconds)) {
        trigger.afterSeconds = static_cast<std::uint32_t>(*seconds);
    }
}

void ReadPrinter(const json& value, const std::string& path, bool portNumbersByPosition,
                 PrinterScenario& printer, std::string& error) {
    FieldReader reader(value, path,
                       {"description", "instanceId", "interfacePath", "portNumber", "status",
                        "version", "security", "readTimeoutMs", "openLimit", "appears", "leaves",
                        "appearsAfterSeconds", "leavesAfterSeconds", "faults", "afterFirmware"},
                       error);
    reader.Text("description", 0, kMaxNoteBytes);
    reader.Require("instanceId");
    if (const auto id = reader.Text("instanceId", 1, kMaxInstanceIdBytes)) {
        printer.instanceId = FromUtf8(*id);
    }
    const auto interfacePath = reader.Text("interfacePath", 1, kMaxInterfacePathBytes);
    if (interfacePath) {
        printer.interfacePath = FromUtf8(*interfacePath);
    }
    if (portNumbersByPosition && reader.Member("portNumber") != nullptr) {
        reader.Fail("'" + reader.KeyPath("portNumber") +
                    "' cannot be given when 'portNumbers' is \"byPosition\"");
    }
    if (const auto port = reader.Unsigned("portNumber", 0, kMaxPortNumber)) {
        printer.portNumber = static_cast<std::uint32_t>(*port);
    }
    if (const auto status = reader.Unsigned("status", 0, 255)) {
        printer.status = static_cast<std::uint8_t>(*status);
    }
    if (auto version = reader.Text("version", 0, kMaxVersionBytes)) {
        printer.version = std::move(*version);
    }
    if (const json* security = reader.Member("security")) {
        ReadSecurity(*security, reader.KeyPath("security"), printer.security, error);
    }
    if (const auto ms = reader.Unsigned("readTimeoutMs", 1, kMaxReadTimeoutMs)) {
        printer.readTimeoutMs = static_cast<std::uint32_t>(*ms);
    }
    if (const auto limit = reader.Unsigned("openLimit", 0, kMaxFaultCount)) {
        printer.openLimit = static_cast<std::uint32_t>(*limit);
    }
    if (const json* appears = reader.Member("appears")) {
        ReadHotplug(*appears, reader.KeyPath("appears"), printer.appears, error);
    }
    if (const json* leaves = reader.Member("leaves")) {
        ReadHotplug(*leaves, reader.KeyPath("leaves"), printer.leaves, error);
    }
    ReadTimedHotplug(reader, "appears", printer.appears);
    ReadTimedHotplug(reader, "leaves", printer.leaves);
    if (reader.ok() && printer.appears.afterSeconds && printer.leaves.afterSeconds &&
        *printer.leaves.afterSeconds <= *printer.appears.afterSeconds) {
        reader.Fail("'" + reader.KeyPath("leavesAfterSeconds") +
                    "' must be later than its 'appearsAfterSeconds'");
    }
    if (const json* faults = reader.Member("faults")) {
        ReadFaults(*faults, reader.KeyPath("faults"), printer.faults, error);
    }
    if (const json* after = reader.Member("afterFirmware")) {
        ReadAfterFirmware(*after, reader.KeyPath("afterFirmware"), printer, error);
    }
    if (reader.ok() && printer.faults.badCrc && printer.security.raw) {
        reader.Fail("'" + reader.KeyPath("faults") +
                    ".badCrc' needs a built security record, not 'raw' bytes");
    }
}

// A printer that names no path gets the one Windows would give it, told apart from the printers
// before it that share its instance ID, so that a scenario need not spell paths to have two.
void GiveDefaultPaths(Scenario& scenario) {
    for (std::size_t i = 0; i < scenario.printers.size(); ++i) {
        PrinterScenario& printer = scenario.printers[i];
        if (!printer.interfacePath.empty()) {
            continue;
        }
        std::size_t sharing = 1;
        for (std::size_t earlier = 0; earlier < i; ++earlier) {
            sharing += scenario.printers[earlier].instanceId == printer.instanceId ? 1 : 0;
        }
        printer.interfacePath = DefaultUsbPrintPath(printer.instanceId, sharing);
    }
}

// The interface source tells printers apart by path, so two printers must not share one.
void CheckDistinctPaths(const Scenario& scenario, std::string& error) {
    for (std::size_t later = 1; later < scenario.printers.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (scenario.printers[later].interfacePath ==
                scenario.printers[earlier].interfacePath) {
                error = "'printers[" + std::to_string(later) +
                        "].interfacePath' is the same as that of printers[" +
                        std::to_string(earlier) + "]";
                return;
            }
        }
    }
}

bool ParseDocument(std::string_view text, Scenario& scenario, std::string& error) {
    const json::parser_callback_t limitDepth = [](int depth, json::parse_event_t, json&) {
        if (depth > kMaxScenarioDepth) {
            throw TooDeep{};
        }
        return true;
    };
    const json root = json::parse(text.begin(), text.end(), limitDepth);
    if (!root.is_object()) {
        error = "the scenario must be a JSON object";
        return false;
    }
    FieldReader reader(
        root, "",
        {"description", "listFails", "portNumbers", "printers", "printQueues", "stateFile"}, error);
    reader.Text("description", 0, kMaxNoteBytes);
    Scenario parsed;
    if (const auto numbering = reader.Text("portNumbers", 0, kMaxNoteBytes)) {
        if (*numbering != "fixed" && *numbering != "byPosition") {
            reader.Fail(R"('portNumbers' must be "fixed" or "byPosition")");
        }
        parsed.portNumbersByPosition = *numbering == "byPosition";
    }
    parsed.listFails = reader.Flag("listFails").value_or(false);
    if (const auto stateFile = reader.Text("stateFile", 1, kMaxStatePathBytes)) {
        parsed.stateFile =
            std::filesystem::path(std::u8string(stateFile->begin(), stateFile->end()));
    }
    reader.Require("printers");
    const json* printers = reader.Member("printers");
    if (printers != nullptr && (!printers->is_array() || printers->size() > kMaxScenarioPrinters)) {
        reader.Fail("'printers' must be an array of at most " +
                    std::to_string(kMaxScenarioPrinters) + " printers");
    }
    for (std::size_t i = 0; reader.ok() && printers != nullptr && i < printers->size(); ++i) {
        parsed.printers.emplace_back();
        ReadPrinter((*printers)[i], "printers[" + std::to_string(i) + "]",
                    parsed.portNumbersByPosition, parsed.printers.back(), error);
    }
    const json* queues = reader.Member("printQueues");
    if (queues != nullptr && (!queues->is_array() || queues->size() > kMaxScenarioQueues)) {
        reader.Fail("'printQueues' must be an array of at most " +
                    std::to_string(kMaxScenarioQueues) + " queues");
    }
    if (reader.ok() && queues != nullptr) {
        parsed.printQueues.emplace();
        for (std::size_t i = 0; reader.ok() && i < queues->size(); ++i) {
            ReadQueue((*queues)[i], "printQueues[" + std::to_string(i) + "]",
                      parsed.printQueues->emplace_back(), error);
        }
    }
    if (reader.ok()) {
        GiveDefaultPaths(parsed);
        CheckDistinctPaths(parsed, error);
    }
    if (!error.empty()) {
        return false;
    }
    scenario = std::move(parsed);
    return true;
}

// nlohmann prefixes its messages with an internal tag; the position that follows is what a
// scenario author needs.
std::string ParseErrorText(const json::parse_error& e) {
    std::string text = e.what();
    const std::size_t tagEnd = text.find("] ");
    if (text.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos) {
        text.erase(0, tagEnd + 2);
    }
    return "invalid JSON: " + text;
}

std::string PathText(const std::filesystem::path& file) {
    try {
        const std::u8string utf8 = file.u8string();
        return std::string(utf8.begin(), utf8.end());
    } catch (const std::exception&) {
        return "(unprintable path)";
    }
}

// A state file named relative to its scenario lives beside it, wherever the program runs from.
bool ApplyPrinterState(const std::filesystem::path& scenarioFile, Scenario& scenario,
                       std::string& error) {
    if (!scenario.stateFile) {
        return true;
    }
    if (scenario.stateFile->is_relative()) {
        scenario.stateFile = scenarioFile.parent_path() / *scenario.stateFile;
    }
    PrinterVersions versions;
    if (!ReadPrinterVersions(*scenario.stateFile, versions, error)) {
        return false;
    }
    for (PrinterScenario& printer : scenario.printers) {
        if (const auto found = versions.find(printer.interfacePath); found != versions.end()) {
            printer.version = found->second;
        }
    }
    return true;
}

}  // namespace

bool ParseScenario(std::string_view json, Scenario& scenario, std::string& error) {
    error.clear();
    if (json.size() > kMaxScenarioBytes) {
        error = "the scenario is larger than " + std::to_string(kMaxScenarioBytes) + " bytes";
        return false;
    }
    try {
        return ParseDocument(json, scenario, error);
    } catch (const TooDeep&) {
        error = "the scenario nests deeper than " + std::to_string(kMaxScenarioDepth) + " levels";
    } catch (const json::parse_error& e) {
        error = ParseErrorText(e);
    } catch (const std::exception& e) {
        error = std::string("cannot read the scenario: ") + e.what();
    }
    return false;
}

bool LoadScenarioFile(const std::filesystem::path& file, Scenario& scenario, std::string& error) {
    error.clear();
    try {
        std::error_code code;
        if (!std::filesystem::is_regular_file(file, code)) {
            error = "cannot open scenario file '" + PathText(file) + "'";
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        // One byte past the limit tells an over-long file from one of exactly the limit.
        std::string text(kMaxScenarioBytes + 1, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        if (!in.is_open() || in.bad()) {
            error = "cannot read scenario file '" + PathText(file) + "'";
            return false;
        }
        text.resize(static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxScenarioBytes) {
            error = "scenario file '" + PathText(file) + "' is larger than " +
                    std::to_string(kMaxScenarioBytes) + " bytes";
            return false;
        }
        Scenario parsed;
        if (!ParseScenario(text, parsed, error) || !ApplyPrinterState(file, parsed, error)) {
            error = PathText(file) + ": " + error;
            return false;
        }
        scenario = std::move(parsed);
        return true;
    } catch (const std::exception& e) {
        error = "cannot read scenario file '" + PathText(file) + "': " + e.what();
        return false;
    }
}

}  // namespace fwup
