#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fwup {

// Longest interface path the channel accepts; longer paths are refused rather than cut, so no
// truncated path is ever looked up or opened.
inline constexpr std::size_t kMaxInterfacePathChars = 259;

// Marker of interfaces that the IEEE 1284.4 (DOT4) bus enumerates; they never get a port name.
inline constexpr std::wstring_view kDot4Marker = L"#dot4#";

// "USB%03d": port 1 gives USB001, port 1234 gives USB1234.
std::wstring FormatPortName(std::uint32_t portNumber);

// The interface path with every backslash replaced by '#': the name of the interface's key in
// the Windows device-class tree.
std::wstring ConvertedInterfacePath(std::wstring_view interfacePath);

// The port name of the interface at `interfacePath`, asked of the active interface source, or
// none: for a DOT4 interface, an over-long path, or an interface without a port number.
std::optional<std::wstring> GetUSBPortName(const std::wstring& interfacePath);

}  // namespace fwup
