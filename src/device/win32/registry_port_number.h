#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace fwup::win32 {

// Longest registry key name built for a port lookup, terminator excluded. A longer name is no
// port rather than a cut name, which would read some other key.
inline constexpr std::size_t kMaxPortKeyNameChars = 1023;

// The "Port Number" the platform keeps in the device parameters of the USB printing interface at
// `interfacePath`. Only reads the registry. None when the key is missing, the value is missing or
// is not a 4-byte REG_DWORD, or the path cannot name a key (empty, embedded NUL, too long).
std::optional<std::uint32_t> ReadPortNumber(const std::wstring& interfacePath);

}  // namespace fwup::win32
