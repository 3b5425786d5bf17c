#pragma once

#include <string>

namespace fwup {

// Where the tool log is written, given its place beside the executable (empty when that is
// unknown). Defined per platform: Windows keeps that place, since the program runs elevated; on
// Linux an installed program's directory is not the user's to write, so where it cannot be
// written the log moves to "$XDG_STATE_HOME/viruzu-fwup/Tool.log", creating the directory.
// Empty when there is nowhere to write.
std::wstring HostToolLogPath(const std::wstring& besideExecutable);

}  // namespace fwup
