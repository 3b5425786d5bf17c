#include "app/common/program_services.h"

#include <utility>

#include "base/clock.h"
#include "device/interface_source.h"
#include "device/simulated_printers.h"
#include "log/module_path.h"
#include "log/notice_output.h"
#include "protocol/firmware_resource.h"
#include "upgrade/power_state.h"
#include "upgrade/print_queues.h"

namespace fwup {
namespace {

// One bit per field of ProgramServices: an empty field is a field not installed, while the
// value it replaced may well be empty (the core's default), so the two need telling apart.
enum Field : unsigned {
    kClock = 1U << 0,
    kNotices = 1U << 1,
    kInterfaces = 1U << 2,
    kResources = 1U << 3,
    kPrintQueues = 1U << 4,
    kPowerState = 1U << 5,
    kTransferGuard = 1U << 6,
    kPrinterLocks = 1U << 7,
    kModulePath = 1U << 8,
    kSimulatedScenario = 1U << 9,
};

// Puts every field named in `fields` from `services` in place; `services` then holds what was
// there before.
void Exchange(ProgramServices& services, unsigned fields) {
    if ((fields & kClock) != 0) {
        services.clock = SetActiveClock(services.clock);
    }
    if ((fields & kNotices) != 0) {
        services.notices = SetActiveNoticeOutput(services.notices);
    }
    if ((fields & kInterfaces) != 0) {
        services.interfaces = SetActiveInterfaceSource(services.interfaces);
    }
    if ((fields & kResources) != 0) {
        services.resources = SetActiveResourceSource(services.resources);
    }
    if ((fields & kPrintQueues) != 0) {
        services.printQueues = SetActivePrintQueueSource(services.printQueues);
    }
    if ((fields & kPowerState) != 0) {
        services.powerState = SetActivePowerStateSource(services.powerState);
    }
    if ((fields & kTransferGuard) != 0) {
        services.transferGuard = SetTransferGuardMaker(std::move(services.transferGuard));
    }
    if ((fields & kPrinterLocks) != 0) {
        services.printerLocks = SetPrinterLockTaker(std::move(services.printerLocks));
    }
    if ((fields & kModulePath) != 0) {
        services.modulePath = SetModuleFilePathForTesting(std::move(services.modulePath));
    }
    if ((fields & kSimulatedScenario) != 0) {
        services.simulatedScenario =
            SetSimulatedPrintersScenario(std::move(services.simulatedScenario));
    }
}

unsigned GivenFields(const ProgramServices& services) {
    unsigned fields = 0;
    fields |= services.clock != nullptr ? kClock : 0U;
    fields |= services.notices != nullptr ? kNotices : 0U;
    fields |= services.interfaces != nullptr ? kInterfaces : 0U;
    fields |= services.resources != nullptr ? kResources : 0U;
    fields |= services.printQueues != nullptr ? kPrintQueues : 0U;
    fields |= services.powerState != nullptr ? kPowerState : 0U;
    fields |= services.transferGuard ? kTransferGuard : 0U;
    fields |= services.printerLocks ? kPrinterLocks : 0U;
    fields |= services.modulePath ? kModulePath : 0U;
    fields |= services.simulatedScenario ? kSimulatedScenario : 0U;
    return fields;
}

}  // namespace

InstalledServices::InstalledServices(ProgramServices services)
    : previous_(std::move(services)), installed_(GivenFields(previous_)) {
    Exchange(previous_, installed_);
}

InstalledServices::~InstalledServices() {
    Exchange(previous_, installed_);
}

}  // namespace fwup
