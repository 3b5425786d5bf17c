#include <signal.h>

#include "app/cli/interrupt_state.h"

namespace fwup::cli {
namespace {

void OnSignal(int) {
    TheInterruptState().requested.store(true);
}

}  // namespace

void InstallInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the terminal waiting for an answer returns, so the question ends.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A reader of our output that went away must not end the program during a transfer.
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace fwup::cli
