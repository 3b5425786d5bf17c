#pragma once

#include <optional>
#include <string>

namespace fwup {

// Full path of the running executable as the platform reports it, never cut; nullopt when the
// platform cannot say. Defined per platform.
std::optional<std::wstring> HostModuleFilePath();

// The character that separates the directory from the file name in the paths above: a backslash
// on Windows, '/' elsewhere. Defined per platform.
wchar_t HostPathSeparator();

// The executable path the tool log uses: the one set for testing, else the host's.
std::optional<std::wstring> ModuleFilePath();

// Lets a test point the tool log at a directory of its own; nullopt restores the host's path. The
// path set before is returned.
std::optional<std::wstring> SetModuleFilePathForTesting(std::optional<std::wstring> path);

}  // namespace fwup
