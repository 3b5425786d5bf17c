#include "upgrade/run_record.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/clock.h"
#include "base/computer_name.h"
#include "base/environment.h"
#include "base/shown_text.h"
#include "device/simulated_printers.h"
#include "protocol/firmware_resource.h"
#include "protocol/result_codes.h"

#ifndef FWUP_VERSION
#define FWUP_VERSION "0"
#endif

namespace fwup {
namespace {

using Json = nlohmann::ordered_json;

Json Nullable(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian), valid for every int64 day count
// a clock can give; the platforms' gmtime differ in range and thread safety.
void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

using Words = std::span<const std::string_view>;

// What docs/cli-output.schema.json allows in a record; a line with anything else was not written
// by a run, and the history says only what runs did.
constexpr std::string_view kMembers[] = {
    "time",       "computer",  "program", "programVersion", "command",
    "instanceId", "model",     "port",    "versionText",    "firmware",
    "package",    "bytesSent", "result",  "versionAfter",   "simulated"};
constexpr std::string_view kPrograms[] = {"viruzu-fwup", "viruzu-fwup-cli"};
constexpr std::string_view kCommands[] = {"upgrade", "check"};
constexpr std::string_view kVerdicts[] = {"older", "same", "newer", "unread"};
// The console program's result words (its exit codes'), which the window's records use too.
constexpr std::string_view kResults[] = {
    "succeeded",    "error",      "usage",         "not-connected",
    "port-busy",    "not-ready",  "declined",      "firmware-unrecognized",
    "printer-lost", "failed",     "verify-failed", "low-battery",
    "in-use",       "interrupted"};

bool OneOf(const std::string& text, Words words) {
    return std::find(words.begin(), words.end(), text) != words.end();
}

bool ReadText(const Json& object, const char* key, std::string& out) {
    const auto member = object.find(key);
    if (member == object.end() || !member->is_string()) {
        return false;
    }
    out = member->get<std::string>();
    return true;
}

bool ReadWord(const Json& object, const char* key, Words words, std::string& out) {
    return ReadText(object, key, out) && OneOf(out, words);
}

bool ReadNullableText(const Json& object, const char* key, std::optional<std::string>& out) {
    const auto member = object.find(key);
    if (member == object.end()) {
        return false;
    }
    if (member->is_null()) {
        out.reset();
        return true;
    }
    if (!member->is_string()) {
        return false;
    }
    out = member->get<std::string>();
    return true;
}

bool ReadNullableWord(const Json& object, const char* key, Words words,
                      std::optional<std::string>& out) {
    return ReadNullableText(object, key, out) && (!out || OneOf(*out, words));
}

// Digits `text[from, from + count)` as a number within [low, high].
bool Field(std::string_view text, std::size_t from, std::size_t count, int low, int high) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value >= low && value <= high;
}

// "2026-12-09T11:33:26Z", as UtcTimeText writes it.
bool IsUtcTime(std::string_view text) {
    return text.size() == 20 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
           text[13] == ':' && text[16] == ':' && text[19] == 'Z' && Field(text, 0, 4, 0, 9999) &&
           Field(text, 5, 2, 1, 12) && Field(text, 8, 2, 1, 31) && Field(text, 11, 2, 0, 23) &&
           Field(text, 14, 2, 0, 59) && Field(text, 17, 2, 0, 59);
}

}  // namespace

std::string RunRecordLine(const RunRecord& record) {
    Json line = Json::object();
    line["time"] = record.time;
    line["computer"] = record.computer;
    line["program"] = record.program;
    line["programVersion"] = record.programVersion;
    line["command"] = record.command;
    line["instanceId"] = Nullable(record.instanceId);
    line["model"] = Nullable(record.model);
    line["port"] = Nullable(record.port);
    line["versionText"] = Nullable(record.versionText);
    line["firmware"] = Nullable(record.firmware);
    line["package"] = record.package ? Json(*record.package) : Json(nullptr);
    line["bytesSent"] = record.bytesSent;
    line["result"] = record.result;
    line["versionAfter"] = Nullable(record.versionAfter);
    if (record.simulated) {
        line["simulated"] = true;
    }
    // A raw U+2028 from a printer would make this one line two for many readers of the file.
    return LineSafeJson(line.dump(-1, ' ', false, Json::error_handler_t::replace)) + "\n";
}

std::optional<RunRecord> ParseRunRecordLine(std::string_view line) {
    const Json object = Json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) {
        return std::nullopt;
    }
    for (const auto& member : object.items()) {
        if (!OneOf(member.key(), kMembers)) {
            return std::nullopt;
        }
    }
    RunRecord record;
    const bool texts = ReadText(object, "time", record.time) && IsUtcTime(record.time) &&
                       ReadText(object, "computer", record.computer) &&
                       ReadWord(object, "program", kPrograms, record.program) &&
                       ReadText(object, "programVersion", record.programVersion) &&
                       ReadWord(object, "command", kCommands, record.command) &&
                       ReadWord(object, "result", kResults, record.result) &&
                       ReadNullableText(object, "instanceId", record.instanceId) &&
                       ReadNullableText(object, "model", record.model) &&
                       ReadNullableText(object, "port", record.port) &&
                       ReadNullableText(object, "versionText", record.versionText) &&
                       ReadNullableWord(object, "firmware", kVerdicts, record.firmware) &&
                       ReadNullableWord(object, "versionAfter", kVerdicts, record.versionAfter);
    if (!texts) {
        return std::nullopt;
    }
    const auto bytes = object.find("bytesSent");
    if (bytes == object.end() || !bytes->is_number_unsigned()) {
        return std::nullopt;
    }
    const auto sent = bytes->get<std::uint64_t>();
    if (sent > static_cast<std::uint64_t>(INT64_MAX)) {
        return std::nullopt;
    }
    record.bytesSent = static_cast<std::int64_t>(sent);
    const auto package = object.find("package");
    if (package == object.end()) {
        return std::nullopt;
    }
    if (package->is_number_integer() && (package->get<std::int64_t>() == kPackagePlainId ||
                                         package->get<std::int64_t>() == kPackageEncryptedId)) {
        record.package = static_cast<int>(package->get<std::int64_t>());
    } else if (!package->is_null()) {
        return std::nullopt;
    }
    // Only ever written as true: a real run's line has no such member.
    if (const auto simulated = object.find("simulated"); simulated != object.end()) {
        if (!simulated->is_boolean() || !simulated->get<bool>()) {
            return std::nullopt;
        }
        record.simulated = true;
    }
    return record;
}

bool PrintersAreSimulated() {
    return SimulatedPrintersScenario().has_value() || EnvironmentPath(kEmulateVariable).has_value();
}

std::string UtcTimeText(std::int64_t seconds) {
    constexpr std::int64_t kDay = 86400;
    std::int64_t days = seconds / kDay;
    std::int64_t ofDay = seconds % kDay;
    if (ofDay < 0) {
        ofDay += kDay;
        --days;
    }
    std::int64_t year = 0;
    int month = 1;
    int day = 1;
    CivilFromDays(days, year, month, day);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ",
                  static_cast<long long>(year), month, day, static_cast<int>(ofDay / 3600),
                  static_cast<int>(ofDay / 60 % 60), static_cast<int>(ofDay % 60));
    return text;
}

void StampRunRecord(RunRecord& record, std::string_view program, std::string_view command) {
    record.time = UtcTimeText(ActiveClock().NowSeconds());
    record.computer = HostComputerName();
    record.program = program;
    record.programVersion = ProgramVersion();
    record.command = command;
    record.simulated = PrintersAreSimulated();
}

std::string_view ProgramVersion() {
    return FWUP_VERSION;
}

bool VersionWasRead(int verdict) {
    return verdict == kVersionHigher || verdict == kVersionSame || verdict == kVersionLower;
}

const char* VersionVerdictWord(int verdict) {
    switch (verdict) {
        case kVersionLower:
            return "older";
        case kVersionSame:
            return "same";
        case kVersionHigher:
            return "newer";
        default:
            return "unread";
    }
}

const char* OutcomeWord(UpgradeOutcome outcome) {
    switch (outcome) {
        case UpgradeOutcome::kNotConnected:
            return "not-connected";
        case UpgradeOutcome::kPortBusy:
            return "port-busy";
        case UpgradeOutcome::kNotReady:
            return "not-ready";
        case UpgradeOutcome::kDeclined:
            return "declined";
        case UpgradeOutcome::kFirmwareUnrecognized:
            return "firmware-unrecognized";
        case UpgradeOutcome::kPrinterLost:
            return "printer-lost";
        case UpgradeOutcome::kFailed:
            return "failed";
        case UpgradeOutcome::kSucceeded:
            return "succeeded";
        case UpgradeOutcome::kInterrupted:
            return "interrupted";
        case UpgradeOutcome::kLowBattery:
            return "low-battery";
        case UpgradeOutcome::kInUse:
            return "in-use";
    }
    return "failed";
}

}  // namespace fwup
