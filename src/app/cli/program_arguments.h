#pragma once

#include <string>
#include <vector>

namespace fwup::cli {

// The arguments after the program name, as UTF-8. On Windows they are read as the UTF-16 command
// line: the narrow argv of the C runtime holds them in the ANSI code page, with '?' for whatever
// that page cannot show. Elsewhere they are argv's bytes as they came.
std::vector<std::string> ProgramArguments(int argc, char* argv[]);

}  // namespace fwup::cli
