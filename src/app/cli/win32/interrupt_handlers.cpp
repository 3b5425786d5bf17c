#include <windows.h>

#include "app/cli/interrupt_state.h"
#include "app/cli/parent_link.h"

namespace fwup::cli {
namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
    RequestInterrupt();
    InterruptState& state = TheInterruptState();
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The process ends when this returns: hold it until the run has ended (the system
        // allows only a few seconds, but a transfer must not be cut by us).
        while (!state.finished.load()) {
            Sleep(20);
        }
    }
    return TRUE;
}

}  // namespace

void RequestInterrupt() {
    TheInterruptState().requested.store(true);
}

void InstallInterruptHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace fwup::cli
