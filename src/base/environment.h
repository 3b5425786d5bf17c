#pragma once

#include <filesystem>
#include <optional>

namespace fwup {

// The value of the environment variable `name` as a path in the platform's own encoding, or none
// when it is unset or empty. Defined per platform: Windows reads the wide environment, so a
// scenario path outside the ANSI code page still arrives whole.
std::optional<std::filesystem::path> EnvironmentPath(const wchar_t* name);

}  // namespace fwup
