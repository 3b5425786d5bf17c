#include "log/tool_log_place.h"

namespace fwup {

std::wstring HostToolLogPath(const std::wstring& besideExecutable) {
    return besideExecutable;
}

std::wstring HostHistoryPath(const std::wstring& besideExecutable, const char* /*fileName*/) {
    return besideExecutable;
}

}  // namespace fwup
