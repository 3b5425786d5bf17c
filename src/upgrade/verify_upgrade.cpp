#include "upgrade/verify_upgrade.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/shown_text.h"
#include "device/printer_target.h"
#include "log/tool_log.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "upgrade/upgrade_procedure.h"

namespace fwup {
namespace {

// A printer flashing its firmware is gone for a while; asking more often than this only adds
// traffic on the bus.
constexpr std::uint32_t kPollMs = 2000;
// A wait between two polls is cut into slices this long, so that a stop is seen at once.
constexpr std::uint32_t kSliceMs = 100;

// The attached printers with `instanceId`, as listed now.
std::vector<DeviceEntry> ListedWith(const std::wstring& instanceId) {
    DeviceList list;
    GetSystemDeviceList(list);
    std::vector<DeviceEntry> found;
    for (DeviceEntry& entry : list) {
        if (entry.InstanceId == instanceId) {
            found.push_back(std::move(entry));
        }
    }
    return found;
}

// Whether `now` is guarded by the run's lock or one taken again for it here (into `relocked`).
bool Locked(const DeviceEntry& now, const PrinterLock* held, std::unique_ptr<PrinterLock>& relocked,
            bool& refusalLogged) {
    if ((held != nullptr && held->Guards(now)) || (relocked != nullptr && relocked->Guards(now))) {
        return true;
    }
    relocked.reset();
    PrinterLockClaim claim = TakePrinterLock(now);
    if (claim.claim == LockClaim::kTaken) {
        relocked = std::move(claim.lock);
        return true;
    }
    if (!refusalLogged) {
        refusalLogged = true;
        WriteToolLog(L"Verify: the printer is back as " + now.InterfacePath + L" but " +
                     (claim.claim == LockClaim::kHeldElsewhere
                          ? std::wstring(L"another upgrade run holds it")
                          : L"its lock could not be taken (" + claim.detail + L")") +
                     L"; it is not read");
    }
    return false;
}

bool IsVerdict(int verdict) {
    return verdict == kVersionSame || verdict == kVersionLower || verdict == kVersionHigher;
}

}  // namespace

VerifyOutcome VerifyUpgrade(const DeviceEntry& flashed, const PrinterLock* held,
                            std::optional<int> versionBefore, std::uint32_t timeoutSeconds,
                            const StopCheck& stop, const VerifyWaiting& waiting) {
    VerifyOutcome outcome;
    Clock& clock = ActiveClock();
    const std::int64_t startMs = clock.MonotonicMs();
    const std::int64_t deadline = startMs + std::int64_t{timeoutSeconds} * 1000;
    bool seenAway = false;
    bool earlyReadLogged = false;
    std::unique_ptr<PrinterLock> relocked;
    bool relockRefusalLogged = false;
    WriteToolLog(L"Verify: waiting for the printer to come back");
    while (true) {
        if (Stopped(stop)) {
            outcome.interrupted = true;
            return outcome;
        }
        const std::vector<DeviceEntry> listed = ListedWith(flashed.InstanceId);
        if (listed.size() > 1) {
            WriteToolLog(L"Verify: " + std::to_wstring(listed.size()) +
                         L" printers have the instance ID " + ShownText(flashed.InstanceId) +
                         L"; which one was flashed cannot be told");
            outcome.ambiguous = true;
            return outcome;
        }
        if (listed.empty()) {
            seenAway = true;
        } else if (!listed[0].PortName.empty()) {
            const DeviceEntry& now = listed[0];
            const PrinterTarget printer = PrinterTarget::Pinned(now);
            if (!Locked(now, held, relocked, relockRefusalLogged)) {
                // Not read: another run has it, and its steps and ours must not interleave.
            } else if (IsReadyForUpgrade(CheckPrinterStatus(printer)) && !Stopped(stop)) {
                std::string versionText;
                const int verdict = QueryFwVersion(printer, &versionText);
                if (IsVerdict(verdict)) {
                    outcome.versionRead = true;
                    outcome.versionVerdict = verdict;
                    outcome.versionText = std::move(versionText);
                    const bool changedToPackage =
                        verdict == kVersionSame && versionBefore && *versionBefore != kVersionSame;
                    if (seenAway || now.InterfacePath != flashed.InterfacePath ||
                        changedToPackage) {
                        outcome.cameBack = true;
                        WriteToolLog(verdict == kVersionSame
                                         ? L"Verify: the printer runs the package's version"
                                         : L"Verify: the printer came back on another version");
                        return outcome;
                    }
                    if (!earlyReadLogged) {
                        earlyReadLogged = true;
                        WriteToolLog(
                            L"Verify: the printer has not gone away yet; its version "
                            L"does not count");
                    }
                }
            }
        }
        const std::int64_t pollEnd =
            std::min<std::int64_t>(clock.MonotonicMs() + kPollMs, deadline);
        while (true) {
            const std::int64_t now = clock.MonotonicMs();
            if (waiting) {
                waiting(now - startMs);
            }
            if (now >= deadline) {
                WriteToolLog(L"Verify: the printer did not come back in time");
                return outcome;
            }
            if (now >= pollEnd) {
                break;
            }
            if (Stopped(stop)) {
                outcome.interrupted = true;
                return outcome;
            }
            clock.SleepMs(
                static_cast<std::uint32_t>(std::min<std::int64_t>(kSliceMs, pollEnd - now)));
        }
    }
}

}  // namespace fwup
