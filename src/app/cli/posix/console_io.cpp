#include "app/cli/console_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "log/notice_output.h"

namespace fwup::cli {
namespace {

class SilentNoticeOutput final : public NoticeOutput {
  public:
    void Write(std::wstring_view) override {}
};

void WriteAll(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
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
    WriteAll(stdout, text);
}

void WriteErr(std::string_view text) {
    WriteAll(stderr, text);
}

bool ReadTerminalLine(std::string& line) {
    line.clear();
    // read(2) rather than a stdio stream: a signal makes it return (EINTR), so an interrupt
    // ends the question instead of waiting for a line that never comes.
    constexpr std::size_t kMaxLine = 256;
    char c = 0;
    while (line.size() < kMaxLine) {
        const ssize_t got = read(STDIN_FILENO, &c, 1);
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

}  // namespace fwup::cli
