#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fwup::libusb {

// The device instance ID in the form Windows gives, so the device table's hardware IDs match it
// as a prefix: USB\VID_5A7C&PID_B101\<serial>, and for an interface of a composite device (more
// than one interface in the active configuration) USB\VID_5A7C&PID_B101&MI_01\<serial>.
// Upper-case hex, four digits for the IDs and two for the interface.
std::wstring FormatInstanceId(std::uint16_t vendorId, std::uint16_t productId,
                              std::optional<std::uint8_t> compositeInterface,
                              std::string_view serial);

// The serial that stands in for a device without a readable one, made from where it is plugged
// in: bus 1, ports 1 then 2 give "bus1-port1.2". Stable while the device stays in that port.
std::string TopologySerial(std::uint8_t bus, std::span<const std::uint8_t> ports);

}  // namespace fwup::libusb
