#pragma once

#include <span>
#include <string>

namespace fwup::cli {

// The console program: parses `args` (without the program name), runs the command and returns
// the exit code. Installs and removes the core's sources, clock and notice output itself.
int RunCli(std::span<const std::string> args);

}  // namespace fwup::cli
