#include "app/cli/console_io.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "app/cli/posix/interrupt_wake.h"
#include "base/write_fully.h"
#include "log/notice_output.h"

namespace fwup::cli {
namespace {

class SilentNoticeOutput final : public NoticeOutput {
  public:
    void Write(std::wstring_view) override {}
};

// write(2) with no stdio buffer between: a line is whole on the file once this returns, and a
// signal or a slow reader (a short write) never cuts one.
void WriteAll(int fd, std::string_view text) {
    WriteFully(text, [fd](const char* data, std::size_t size) { return ::write(fd, data, size); });
}

}  // namespace

void PrepareConsole() {}

bool StdinIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool StdoutIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

void WriteOut(std::string_view text) {
    WriteAll(STDOUT_FILENO, text);
}

void WriteErr(std::string_view text) {
    WriteAll(STDERR_FILENO, text);
}

bool ReadTerminalLine(std::string& line) {
    line.clear();
    // Waits for the terminal or the interrupt handlers' wake pipe, whichever comes first: an
    // interrupt that came before the wait leaves its byte in the pipe and ends it at once.
    constexpr std::size_t kMaxLine = 256;
    const int wake = InterruptWakeFd();
    while (line.size() < kMaxLine) {
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wake, POLLIN, 0}};
        const int ready = ::poll(waits, wake >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (wake >= 0 && waits[1].revents != 0)) {
            return false;
        }
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        if (c == '\n') {
            return true;
        }
        line.push_back(c);
    }
    return true;
}

NoticeOutput* ConsoleNoticeOutput() {
    static SilentNoticeOutput silent;
    return &silent;
}

bool TerminalTakesEscapes() {
    return true;
}

}  // namespace fwup::cli
