#include "app/cli/exit_codes.h"

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

}  // namespace fwup::cli
