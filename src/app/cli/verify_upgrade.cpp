#include "app/cli/verify_upgrade.h"

#include <algorithm>

#include "app/cli/interrupt_state.h"
#include "base/clock.h"
#include "device/discovery.h"
#include "log/tool_log.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "upgrade/upgrade_procedure.h"

namespace fwup::cli {
namespace {

// A printer flashing its firmware is gone for a while; asking more often than this only adds
// traffic on the bus.
constexpr std::uint32_t kPollMs = 2000;

// The port the printer with `instanceId` is listed on now, or empty.
std::wstring PortOf(const std::wstring& instanceId) {
    DeviceList list;
    GetSystemDeviceList(list);
    for (const DeviceEntry& entry : list) {
        if (entry.InstanceId == instanceId) {
            return entry.PortName;
        }
    }
    return {};
}

}  // namespace

VerifyOutcome VerifyUpgrade(const std::wstring& instanceId, std::uint32_t timeoutSeconds,
                            const InterruptState& interrupts) {
    VerifyOutcome outcome;
    Clock& clock = ActiveClock();
    const std::int64_t deadline = clock.MonotonicMs() + std::int64_t{timeoutSeconds} * 1000;
    WriteToolLog(L"Verify: waiting for the printer to come back");
    while (true) {
        if (interrupts.requested.load()) {
            outcome.interrupted = true;
            return outcome;
        }
        const std::wstring port = PortOf(instanceId);
        if (!port.empty() && IsReadyForUpgrade(CheckPrinterStatus(port))) {
            const int verdict = QueryFwVersion(port);
            if (verdict == kVersionSame || verdict == kVersionLower || verdict == kVersionHigher) {
                outcome.cameBack = true;
                outcome.versionVerdict = verdict;
                WriteToolLog(verdict == kVersionSame
                                 ? L"Verify: the printer runs the package's version"
                                 : L"Verify: the printer came back on another version");
                return outcome;
            }
        }
        const std::int64_t now = clock.MonotonicMs();
        if (now >= deadline) {
            WriteToolLog(L"Verify: the printer did not come back in time");
            return outcome;
        }
        clock.SleepMs(static_cast<std::uint32_t>(std::min<std::int64_t>(kPollMs, deadline - now)));
    }
}

}  // namespace fwup::cli
