#include "app/cli/program_arguments.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "base/wide_text.h"

namespace fwup::cli {

std::vector<std::string> ProgramArguments(int, char*[]) {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.push_back(ToUtf8(wide[i]));
    }
    LocalFree(wide);
    return args;
}

}  // namespace fwup::cli
