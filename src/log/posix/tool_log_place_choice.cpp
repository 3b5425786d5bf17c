#include "log/posix/tool_log_place_choice.h"

namespace fwup {

ToolLogPlace ChooseToolLogPlace(std::wstring_view besideProgram, bool asRoot, bool besideWritable) {
    if (besideProgram.starts_with(L"/usr/")) {
        return asRoot ? ToolLogPlace::kSystemLogFolder : ToolLogPlace::kStateFolder;
    }
    if (!besideProgram.empty() && besideWritable) {
        return ToolLogPlace::kBesideProgram;
    }
    return ToolLogPlace::kStateFolder;
}

}  // namespace fwup
