#pragma once

#include <string>

namespace fwup {

// Where the tool log is written, given its place beside the executable (empty when that is
// unknown). Defined per platform: Windows keeps that place, since the program runs elevated; on
// Linux an installed program's directory is not the user's to write, so where it cannot be
// written the log moves to "$XDG_STATE_HOME/viruzu-fwup/Tool.log", creating the directory (mode
// 0700). Root counts only a folder and file of its own as writable: a folder another user owns is
// theirs to steer. Empty when there is nowhere to write.
std::wstring HostToolLogPath(const std::wstring& besideExecutable);

// Where the run history file `fileName` is kept, given its place beside the executable, chosen
// as the tool log's place is: beside the executable wherever the log is, otherwise in a folder
// that outlives the log's, "/var/lib/viruzu-fwup/" (mode 0755) for root and
// "$XDG_STATE_HOME/viruzu-fwup/" for a user (creating it). Empty when there is nowhere to keep it.
std::wstring HostHistoryPath(const std::wstring& besideExecutable, const char* fileName);

}  // namespace fwup
