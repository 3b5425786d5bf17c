#include "app/cli/parent_link.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "app/cli/posix/interrupt_wake.h"

namespace fwup::cli {

void FollowParentInterrupts() {
    std::thread([] {
        std::string line;
        char c = 0;
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, &c, 1);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0 || (c == '\n' && line == "interrupt")) {
                break;
            }
            line = c == '\n' ? std::string() : line.size() < 16 ? line + c : line;
        }
        RequestInterrupt();
    }).detach();
}

}  // namespace fwup::cli
