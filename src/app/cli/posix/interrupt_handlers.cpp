#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "app/cli/interrupt_state.h"
#include "app/cli/parent_link.h"
#include "app/cli/posix/interrupt_wake.h"

namespace fwup::cli {
namespace {

int wakePipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    RequestInterrupt();
    errno = saved;
}

}  // namespace

void RequestInterrupt() {
    TheInterruptState().requested.store(true);
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        // Non-blocking: a full pipe already says the same.
        [[maybe_unused]] const ssize_t ignored = write(wakePipe[1], &byte, 1);
    }
}

int InterruptWakeFd() {
    return wakePipe[0];
}

void InstallInterruptHandlers() {
    if (wakePipe[0] < 0 && pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe[0] = wakePipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Calls a signal interrupts carry on (a write of standard output among them); the terminal
    // question waits on the wake pipe as well, so it ends all the same.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A reader of our output that went away must not end the program during a transfer.
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace fwup::cli
