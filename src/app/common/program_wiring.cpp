#include "app/common/program_wiring.h"

#include "app/common/interface_source_factory.h"
#include "app/common/program_print_queues.h"
#include "base/wide_text.h"
#include "upgrade/printer_lock.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {
namespace {

// The path as the platform holds it: UTF-16 on Windows, UTF-8 bytes elsewhere.
std::wstring NativeText(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.native();
#else
    return FromUtf8(path.native());
#endif
}

}  // namespace

ProgramWiring WireProgram(const ProgramParts& parts) {
    ProgramWiring wiring;
    wiring.interfaceSource = MakeInterfaceSource(wiring.scenarioFile, wiring.error);
    // Without a spooler every port counts as free, as when no queue holds jobs.
    wiring.printQueueSource = MakeProgramPrintQueueSource(wiring.interfaceSource.get());
    wiring.powerStateSource = MakeHostPowerStateSource();

    ProgramServices& services = wiring.services;
    services.clock = parts.clock;
    services.notices = parts.notices;
    services.interfaces = wiring.interfaceSource.get();
    services.printQueues = wiring.printQueueSource.get();
    services.powerState = wiring.powerStateSource.get();
    services.transferGuard = [sessionEnd = parts.sessionEnd](const StopCheck& stopped) {
        return MakeHostTransferGuard(sessionEnd, stopped);
    };
    services.printerLocks = HostPrinterLockTaker();
    if (wiring.interfaceSource && wiring.scenarioFile) {
        services.simulatedScenario = NativeText(*wiring.scenarioFile);
    }
    return wiring;
}

}  // namespace fwup
