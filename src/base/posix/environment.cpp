#include <cstdlib>
#include <string>

#include "base/environment.h"
#include "base/wide_text.h"

namespace fwup {

std::optional<std::filesystem::path> EnvironmentPath(const wchar_t* name) {
    // Variable names are ASCII; the value stays in the file system's own bytes.
    const char* value = std::getenv(ToUtf8(name).c_str());
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(std::string(value));
}

void SetEnvironmentValue(const wchar_t* name, const std::string& value) {
    ::setenv(ToUtf8(name).c_str(), value.c_str(), 1);
}

}  // namespace fwup
