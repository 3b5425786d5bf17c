// The child that tests/app/cli/win32/child_process_test.cpp starts:
//
//   fwup_child_echo MODE EXIT_CODE [ARG...]
//
// Prints every argument after its own name, MODE and EXIT_CODE included, as "arg HEX" lines (the
// hexadecimal of its UTF-8 bytes, as the console program reads its arguments), so that the test
// compares them byte for byte. With MODE "stdin" it then reads its standard input to the end and
// prints "stdin HEX". Ends with EXIT_CODE (decimal; a crash status too).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/program_arguments.h"

namespace {

void Write(std::string_view text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

std::string ReadAllInput() {
    std::string input;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) &&
           got > 0) {
        input.append(buffer, got);
    }
    return input;
}

}  // namespace

int wmain(int, wchar_t*[]) {
    const std::vector<std::string> args = fwup::cli::ProgramArguments(0, nullptr);
    for (const std::string& arg : args) {
        Write("arg " + Hex(arg) + "\n");
    }
    if (args.size() < 2) {
        return 2;
    }
    if (args[0] == "stdin") {
        Write("stdin " + Hex(ReadAllInput()) + "\n");
    }
    ExitProcess(static_cast<UINT>(std::strtoul(args[1].c_str(), nullptr, 10)));
}
