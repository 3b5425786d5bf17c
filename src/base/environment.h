#pragma once

#include <filesystem>
#include <optional>

namespace fwup {

// The value of the environment variable `name` as a path in the platform's own encoding, or none
// when it is unset or empty. Defined per platform: Windows reads the wide environment, so a
// scenario path outside the ANSI code page still arrives whole.
std::optional<std::filesystem::path> EnvironmentPath(const wchar_t* name);

// Sets `name` to the ASCII `value` for this process and the programs it starts from now on. Call
// it before any other thread reads the environment.
void SetEnvironmentValue(const wchar_t* name, const std::string& value);

}  // namespace fwup
