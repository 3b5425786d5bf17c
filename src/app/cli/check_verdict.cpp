#include "app/cli/check_verdict.h"

#include "app/cli/exit_codes.h"
#include "protocol/result_codes.h"

namespace fwup::cli {

namespace {

bool IsVersionVerdict(int verdict) {
    return verdict == kVersionHigher || verdict == kVersionSame || verdict == kVersionLower;
}

}  // namespace

int CheckExitCode(const CheckReadings& readings) {
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

bool CheckDecidesPackage(const CheckReadings& readings) {
    return readings.security == kSecurityCrcValid;
}

}  // namespace fwup::cli
