#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fwup::libusb {

// What an interface path names: one interface of the device at a place in the USB tree. The
// address changes on every plug-in, so a path taken before the printer was replugged, or before
// another device took its port, finds nothing instead of the wrong device.
struct InterfaceAddress {
    std::uint8_t bus = 0;
    std::vector<std::uint8_t> ports;  // 1 to 7 hub ports from the root hub down
    std::uint8_t deviceAddress = 0;
    std::uint8_t interfaceNumber = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    bool operator==(const InterfaceAddress&) const = default;
};

// usb:<bus>-<port>[.<port>...]:if<interface>:dev<address>:<vid>:<pid>, decimal numbers without
// leading zeros and four lower-case hex digits, e.g. usb:1-1.2:if0:dev5:5a7c:b101. At most 58
// characters; never a backslash or '#', so never taken for a DOT4 interface.
std::wstring FormatInterfacePath(const InterfaceAddress& address);

// The address of a path FormatInterfacePath made; none for any other text.
std::optional<InterfaceAddress> ParseInterfacePath(std::wstring_view path);

}  // namespace fwup::libusb
