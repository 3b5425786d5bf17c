#pragma once

#include <optional>
#include <string>

#include "upgrade/printer_lock.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {

class Clock;
class InterfaceSource;
class NoticeOutput;
class PowerStateSource;
class PrintQueueSource;
class ResourceSource;

// Everything the core takes from the process it runs in, in one value: what a program's start
// installs, and what a test replaces with fakes. A field left empty is not installed; the core
// then keeps whatever it had (its default, unless an outer installer put something there). The
// "= {}" let a designated initializer name only the fields it sets without a warning.
struct ProgramServices {
    Clock* clock = nullptr;
    NoticeOutput* notices = nullptr;
    InterfaceSource* interfaces = nullptr;
    ResourceSource* resources = nullptr;
    PrintQueueSource* printQueues = nullptr;
    PowerStateSource* powerState = nullptr;
    TransferGuardMaker transferGuard = {};
    PrinterLockTaker printerLocks = {};
    // Where the tool log takes the executable to be.
    std::optional<std::wstring> modulePath = {};
    // The scenario file the printers are simulated from, shown in the title and every run's log.
    std::optional<std::wstring> simulatedScenario = {};
};

// Installs the services given for its lifetime and puts back what each replaced when it ends.
// Installers nest, and end in the reverse order of their making; both happen before any worker
// thread that reads the services starts, and after it has ended.
class InstalledServices {
  public:
    explicit InstalledServices(ProgramServices services);
    ~InstalledServices();
    InstalledServices(const InstalledServices&) = delete;
    InstalledServices& operator=(const InstalledServices&) = delete;

  private:
    // What the fields this installer set held before, and which fields those are.
    ProgramServices previous_;
    unsigned installed_ = 0;
};

}  // namespace fwup
