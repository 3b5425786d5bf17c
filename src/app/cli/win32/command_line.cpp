#include "app/cli/win32/command_line.h"

#include "base/wide_text.h"

namespace fwup::cli {
namespace {

void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each stands for half of its pair, and
        // one more escapes the quote itself.
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        line += c;
        backslashes = 0;
    }
    // Doubled so that the closing quote is not taken as escaped.
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace

bool BuildCommandLine(const std::wstring& program, const std::vector<std::string>& args,
                      std::wstring& commandLine) {
    // The program's own word is read up to the next quote, with no escapes.
    if (program.find(L'"') != std::wstring::npos) {
        return false;
    }
    commandLine = L"\"" + program + L"\"";
    for (const std::string& arg : args) {
        if (arg.find('\0') != std::string::npos) {
            return false;
        }
        commandLine += L' ';
        AppendQuoted(commandLine, FromUtf8(arg));
    }
    return true;
}

}  // namespace fwup::cli
