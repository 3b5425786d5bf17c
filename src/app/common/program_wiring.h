#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/common/program_services.h"
#include "device/interface_source.h"
#include "upgrade/power_state.h"
#include "upgrade/print_queues.h"

namespace fwup {

class SessionEndHolder;

// What a program brings to its wiring; each may be left out.
struct ProgramParts {
    Clock* clock = nullptr;           // none: the system clock
    NoticeOutput* notices = nullptr;  // none: the platform's debugger output
    // The main window's hold on the session end, for platforms that tie it to a window.
    SessionEndHolder* sessionEnd = nullptr;
};

// The services one program runs on and the objects behind them, made once at its start. Install
// `services` for the program's life; this object must outlive the installer.
struct ProgramWiring {
    ProgramServices services;
    // The scenario file VIRUZU_FWUP_EMULATE names; none for real printers.
    std::optional<std::filesystem::path> scenarioFile;
    // Why there is no interface source (`services.interfaces` is then null).
    std::string error;

    std::unique_ptr<InterfaceSource> interfaceSource;
    std::unique_ptr<PrintQueueSource> printQueueSource;
    std::unique_ptr<PowerStateSource> powerStateSource;
};

// The wiring every program shares: the printers VIRUZU_FWUP_EMULATE chooses (real ones when it
// is not set), the print queues of the simulated machine or else the host's spooler, and the
// host's power state, transfer guard and printer locks. Without an interface source the rest is
// made all the same: a window still opens and its runs find no printer.
ProgramWiring WireProgram(const ProgramParts& parts);

}  // namespace fwup
