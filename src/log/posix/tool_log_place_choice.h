#pragma once

#include <string_view>

namespace fwup {

enum class ToolLogPlace {
    kBesideProgram,    // the path it was given
    kSystemLogFolder,  // /var/log/viruzu-fwup/Tool.log
    kStateFolder,      // $XDG_STATE_HOME/viruzu-fwup/Tool.log
};

// Where the tool log goes on Linux. `besideProgram` is the log's place beside the executable
// (empty when that is unknown or its name is not UTF-8); `asRoot` says the effective user is root;
// `besideWritable` whether that place can be written. A program under /usr belongs to the package
// manager: nothing is written there, not even by root, whose log goes to /var/log instead.
ToolLogPlace ChooseToolLogPlace(std::wstring_view besideProgram, bool asRoot, bool besideWritable);

}  // namespace fwup
