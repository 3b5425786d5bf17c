#pragma once

#include <span>

#include "upgrade/upgrade_front_end.h"

namespace fwup::cli {

// The console program's exit codes: the contract scripts rely on (README, "Scripted and fleet
// upgrades"). Never renumber.
inline constexpr int kExitSucceeded = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotConnected = 3;
inline constexpr int kExitPortBusy = 4;
inline constexpr int kExitNotReady = 5;
inline constexpr int kExitDeclined = 6;
inline constexpr int kExitFirmwareUnrecognized = 7;
inline constexpr int kExitPrinterLost = 8;
inline constexpr int kExitFailed = 9;
inline constexpr int kExitVerifyFailed = 10;
inline constexpr int kExitLowBattery = 11;
inline constexpr int kExitInUse = 12;
// `--all`: a printer ended with anything but succeeded or declined (already current).
inline constexpr int kExitSomeFailed = 13;
inline constexpr int kExitInterrupted = 130;

// The `result` word of the JSON result line for an exit code.
const char* ResultName(int exitCode);

// Every exit code a command derives from what its run found is decided below; a command names a
// code itself only for a refusal it meets on its own (bad usage, discovery failed, in use, an
// interrupt before anything was sent).

// The code of an upgrade run's outcome alone.
int ExitCodeFor(UpgradeOutcome outcome);

// How `upgrade` ended, beyond the run's outcome.
struct UpgradeEnd {
    UpgradeOutcome outcome = UpgradeOutcome::kFailed;
    bool choiceUnmatched = false;  // --port or --serial matched no attached printer
    bool discoveryFailed = false;  // the printer list could not be read
    bool printerReplaced = false;  // a step's open found another printer behind the port
    bool verifyFailed = false;     // --verify did not see the printer back on the new version
};

// The exit code of `upgrade`. "Not connected" is a usage error when a choice matched nothing, and
// an error when discovery failed (the window says "not connected" either way; a script must not
// retry what needs a person). A replaced printer ends as a printer that is gone, whichever step
// found it, unless the run succeeded or was interrupted.
int UpgradeExitCode(const UpgradeEnd& end);

// What `check` read from the printer.
struct CheckReadings {
    bool ready = false;
    int versionVerdict = 0;  // QueryFwVersion's verdict or error
    int security = 0;        // QuerySecurity's result
    bool replaced = false;   // an open found another printer behind the port
};

// The exit code of `check`: 0 only when the printer is ready and its version and a valid security
// record were read; otherwise the code an upgrade run ends with at the first step that fails.
// A missing or unreadable record, on which the run would go on with the plain package unasked,
// ends with kExitFailed: a query failed, and a script must not take the printer as known.
int CheckExitCode(const CheckReadings& readings);

// The exit code of `--all` from each printer's own: succeeded when every printer ended succeeded
// or declined (already on the package's version), not-connected when none was attached, otherwise
// some-failed.
int AllPrintersExitCode(std::span<const int> printerCodes);

}  // namespace fwup::cli
