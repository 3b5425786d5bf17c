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

// Calls `visit(field, setter)` for every field of `services` with the core's setter of that
// service, in the same order every time, so that a field's place in the order names it.
template <typename Visit>
void EachService(ProgramServices& services, Visit visit) {
    visit(services.clock, SetActiveClock);
    visit(services.notices, SetActiveNoticeOutput);
    visit(services.interfaces, SetActiveInterfaceSource);
    visit(services.resources, SetActiveResourceSource);
    visit(services.printQueues, SetActivePrintQueueSource);
    visit(services.powerState, SetActivePowerStateSource);
    visit(services.transferGuard, SetTransferGuardMaker);
    visit(services.printerLocks, SetPrinterLockTaker);
    visit(services.modulePath, SetModuleFilePathForTesting);
    visit(services.simulatedScenario, SetSimulatedPrintersScenario);
}

}  // namespace

// An empty field is a field not installed, while what it replaces may well be empty (the core's
// default): one bit per field says which ones this installer set.
InstalledServices::InstalledServices(ProgramServices services) : previous_(std::move(services)) {
    unsigned bit = 1;
    EachService(previous_, [this, &bit](auto& field, auto set) {
        if (field) {
            installed_ |= bit;
            field = set(std::move(field));
        }
        bit <<= 1;
    });
}

InstalledServices::~InstalledServices() {
    unsigned bit = 1;
    EachService(previous_, [this, &bit](auto& field, auto set) {
        if ((installed_ & bit) != 0) {
            field = set(std::move(field));
        }
        bit <<= 1;
    });
}

}  // namespace fwup
