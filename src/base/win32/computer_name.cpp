#include <windows.h>

#include "base/computer_name.h"
#include "base/wide_text.h"

namespace fwup {

std::string HostComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) {
        return {};
    }
    return ToUtf8(std::wstring_view(name, length));
}

}  // namespace fwup
