#include <windows.h>

#include <string>

#include "base/environment.h"

namespace fwup {

std::optional<std::filesystem::path> EnvironmentPath(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed <= 1) {
        return std::nullopt;
    }
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
    if (length == 0 || length >= needed) {
        return std::nullopt;
    }
    value.resize(length);
    return std::filesystem::path(value);
}

void SetEnvironmentValue(const wchar_t* name, const std::string& value) {
    SetEnvironmentVariableW(name, std::wstring(value.begin(), value.end()).c_str());
}

}  // namespace fwup
