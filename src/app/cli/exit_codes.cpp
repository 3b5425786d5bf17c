#include "app/cli/exit_codes.h"

#include <algorithm>

#include "protocol/result_codes.h"

namespace fwup::cli {

const char* ResultName(int exitCode) {
    switch (exitCode) {
        case kExitSucceeded:
            return "succeeded";
        case kExitUsage:
            return "usage";
        case kExitNotConnected:
            return "not-connected";
        case kExitPortBusy:
            return "port-busy";
        case kExitNotReady:
            return "not-ready";
        case kExitDeclined:
            return "declined";
        case kExitFirmwareUnrecognized:
            return "firmware-unrecognized";
        case kExitPrinterLost:
            return "printer-lost";
        case kExitFailed:
            return "failed";
        case kExitVerifyFailed:
            return "verify-failed";
        case kExitLowBattery:
            return "low-battery";
        case kExitInUse:
            return "in-use";
        case kExitSomeFailed:
            return "some-failed";
        case kExitInterrupted:
            return "interrupted";
        default:
            return "error";
    }
}

int ExitCodeFor(UpgradeOutcome outcome) {
    switch (outcome) {
        case UpgradeOutcome::kNotConnected:
            return kExitNotConnected;
        case UpgradeOutcome::kPortBusy:
            return kExitPortBusy;
        case UpgradeOutcome::kNotReady:
            return kExitNotReady;
        case UpgradeOutcome::kDeclined:
            return kExitDeclined;
        case UpgradeOutcome::kFirmwareUnrecognized:
            return kExitFirmwareUnrecognized;
        case UpgradeOutcome::kPrinterLost:
            return kExitPrinterLost;
        case UpgradeOutcome::kFailed:
            return kExitFailed;
        case UpgradeOutcome::kSucceeded:
            return kExitSucceeded;
        case UpgradeOutcome::kInterrupted:
            return kExitInterrupted;
        case UpgradeOutcome::kLowBattery:
            return kExitLowBattery;
        case UpgradeOutcome::kInUse:
            return kExitInUse;
    }
    return kExitError;
}

int UpgradeExitCode(const UpgradeEnd& end) {
    int code = ExitCodeFor(end.outcome);
    if (end.outcome == UpgradeOutcome::kNotConnected && end.choiceUnmatched) {
        code = kExitUsage;
    } else if (end.outcome == UpgradeOutcome::kNotConnected && end.discoveryFailed) {
        code = kExitError;
    }
    if (code != kExitSucceeded && code != kExitInterrupted && end.printerReplaced) {
        code = kExitPrinterLost;
    }
    if (code == kExitSucceeded && end.verifyFailed) {
        code = kExitVerifyFailed;
    }
    return code;
}

namespace {

bool IsVersionVerdict(int verdict) {
    return verdict == kVersionHigher || verdict == kVersionSame || verdict == kVersionLower;
}

}  // namespace

int CheckExitCode(const CheckReadings& readings) {
    // The readings may have come from another printer: none of them speaks of the one chosen.
    if (readings.replaced) {
        return kExitPrinterLost;
    }
    if (!readings.ready) {
        return kExitNotReady;
    }
    // A channel that no longer opens after the status query: the printer went away.
    if (readings.versionVerdict == kErrOpenChannel || readings.security == kErrOpenChannel) {
        return kExitPrinterLost;
    }
    if (!IsVersionVerdict(readings.versionVerdict)) {
        return kExitFailed;
    }
    switch (readings.security) {
        case kSecurityCrcValid:
            return kExitSucceeded;
        case kSecurityCrcInvalid:
            return kExitFirmwareUnrecognized;
        default:
            return kExitFailed;
    }
}

int AllPrintersExitCode(std::span<const int> printerCodes) {
    if (printerCodes.empty()) {
        return kExitNotConnected;
    }
    const bool allCurrent = std::all_of(printerCodes.begin(), printerCodes.end(), [](int code) {
        return code == kExitSucceeded || code == kExitDeclined;
    });
    return allCurrent ? kExitSucceeded : kExitSomeFailed;
}

}  // namespace fwup::cli
