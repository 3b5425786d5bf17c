#pragma once

#include <string>
#include <vector>

namespace fwup::cli {

// The command line that CommandLineToArgvW and the C runtime split back into `program` and
// exactly `args` (UTF-8, each made UTF-16). False when `program` holds a quote, which the first
// word of a command line cannot carry, or an argument holds a NUL, where the line would end.
bool BuildCommandLine(const std::wstring& program, const std::vector<std::string>& args,
                      std::wstring& commandLine);

}  // namespace fwup::cli
