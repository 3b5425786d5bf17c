#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "upgrade/upgrade_front_end.h"

namespace fwup {

// What one run did, as the history keeps it: all text UTF-8, none for what the run never got to.
// The "= {}" let a designated initializer name only the members it sets.
struct RunRecord {
    std::string time = {};  // UTC, "2026-12-09T11:33:26Z"
    std::string computer = {};
    std::string program = {};  // "viruzu-fwup" (the window) or "viruzu-fwup-cli"
    std::string programVersion = {};
    std::string command = {};  // "upgrade" or "check"
    std::optional<std::string> instanceId = {};
    std::optional<std::string> model = {};
    std::optional<std::string> port = {};
    std::optional<std::string> versionText = {};  // as the printer sent it
    std::optional<std::string> firmware = {};     // the verdict on it: older, same, newer, unread
    std::optional<int> package = {};              // the package the printer received
    std::int64_t bytesSent = 0;
    std::string result = {};                       // the console program's result word
    std::optional<std::string> versionAfter = {};  // the verdict read back by --verify
    bool simulated = false;  // the printer was simulated: nothing real was flashed

    bool operator==(const RunRecord&) const = default;
};

// The record as one JSON line, line end included. Text that is not UTF-8 is stored with U+FFFD.
// "simulated": true only for a simulated printer's run; a real run's line has no such member.
std::string RunRecordLine(const RunRecord& record);

// The record a history line holds (its line end taken off), or none when the line is not one
// whole record as docs/cli-output.schema.json has it: cut, not JSON, a member missing, unknown,
// of the wrong type or with a value the record never holds (a time that is not the ISO 8601 UTC
// form, a program, command, verdict, package or result word that no run writes).
std::optional<RunRecord> ParseRunRecordLine(std::string_view line);

// True while the printers are simulated (VIRUZU_FWUP_EMULATE names a scenario, or the program
// was wired with one): the run's record is marked so and kept in a history of its own.
bool PrintersAreSimulated();

// `seconds` since the epoch as ISO 8601 UTC time.
std::string UtcTimeText(std::int64_t seconds);

// The record's time (the clock seam), computer, program and version, command and whether the
// printers are simulated filled in.
void StampRunRecord(RunRecord& record, std::string_view program, std::string_view command);

// The version this build carries, as the programs name it.
std::string_view ProgramVersion();

// True when QueryFwVersion's result is a verdict on a version the printer sent.
bool VersionWasRead(int verdict);

// "older", "same", "newer" or "unread" for QueryFwVersion's result.
const char* VersionVerdictWord(int verdict);

// The console program's result word for a run that ended with `outcome`.
const char* OutcomeWord(UpgradeOutcome outcome);

}  // namespace fwup
