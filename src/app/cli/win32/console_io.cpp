#include "app/cli/console_io.h"

#include <windows.h>

#include <cstdio>

#include "base/wide_text.h"

namespace fwup::cli {
namespace {

void WriteAll(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void PrepareConsole() {
    // The texts are UTF-8; a console left on its OEM code page would show Russian and Turkish
    // as garbage.
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
}

bool TerminalTakesEscapes() {
    // The redrawn lines of --parallel move the cursor up: a console that would print the
    // escapes instead gets a line per milestone.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(out, &mode) != 0 &&
           ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
            SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0);
}

namespace {

// A console, not merely a character device: NUL passes _isatty too.
bool IsConsole(DWORD handleId) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(handleId), &mode) != 0;
}

}  // namespace

bool StdinIsTerminal() {
    return IsConsole(STD_INPUT_HANDLE);
}

bool StdoutIsTerminal() {
    return IsConsole(STD_OUTPUT_HANDLE);
}

void WriteOut(std::string_view text) {
    WriteAll(stdout, text);
}

void WriteErr(std::string_view text) {
    WriteAll(stderr, text);
}

bool ReadTerminalLine(std::string& line) {
    line.clear();
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    wchar_t buffer[256];
    DWORD read = 0;
    // Ctrl-C ends the read with no characters (the handler has noted the interrupt).
    if (!ReadConsoleW(input, buffer, 255, &read, nullptr) || read == 0) {
        return false;
    }
    std::wstring text(buffer, read);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    line = ToUtf8(text);
    return true;
}

NoticeOutput* ConsoleNoticeOutput() {
    return nullptr;
}

}  // namespace fwup::cli
