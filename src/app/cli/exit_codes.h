#pragma once

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

int ExitCodeFor(UpgradeOutcome outcome);

}  // namespace fwup::cli
