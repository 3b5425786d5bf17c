#include "upgrade/run_record.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "base/clock.h"
#include "base/computer_name.h"
#include "base/shown_text.h"
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

bool ReadText(const Json& object, const char* key, std::string& out) {
    const auto member = object.find(key);
    if (member == object.end() || !member->is_string()) {
        return false;
    }
    out = member->get<std::string>();
    return true;
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
    // A raw U+2028 from a printer would make this one line two for many readers of the file.
    return LineSafeJson(line.dump(-1, ' ', false, Json::error_handler_t::replace)) + "\n";
}

std::optional<RunRecord> ParseRunRecordLine(std::string_view line) {
    const Json object = Json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) {
        return std::nullopt;
    }
    RunRecord record;
    const bool texts =
        ReadText(object, "time", record.time) && ReadText(object, "computer", record.computer) &&
        ReadText(object, "program", record.program) &&
        ReadText(object, "programVersion", record.programVersion) &&
        ReadText(object, "command", record.command) && ReadText(object, "result", record.result) &&
        ReadNullableText(object, "instanceId", record.instanceId) &&
        ReadNullableText(object, "model", record.model) &&
        ReadNullableText(object, "port", record.port) &&
        ReadNullableText(object, "versionText", record.versionText) &&
        ReadNullableText(object, "firmware", record.firmware) &&
        ReadNullableText(object, "versionAfter", record.versionAfter);
    if (!texts || record.result.empty()) {
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
    if (package->is_number_integer() && package->get<std::int64_t>() >= INT32_MIN &&
        package->get<std::int64_t>() <= INT32_MAX) {
        record.package = static_cast<int>(package->get<std::int64_t>());
    } else if (!package->is_null()) {
        return std::nullopt;
    }
    return record;
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
