#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/libusb/printing_interfaces.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// Most bytes of a device ID asked for; a longer one is cut, and the serial sits early in any
// real one.
inline constexpr std::size_t kMaxDeviceIdBytes = 1024;
// How long the printer may take to answer GET_DEVICE_ID.
inline constexpr unsigned kDeviceIdTimeoutMs = 5000;

// The text of a GET_DEVICE_ID reply of which `count` bytes arrived: its first two bytes give the
// length, big-endian and counting themselves; the text follows, cut to what arrived. None when
// fewer than two bytes arrived or the length is below two.
std::optional<std::string_view> DeviceIdText(std::span<const std::uint8_t> reply);

// The serial number an IEEE 1284 device ID names ("MFG:...;MDL:...;SN:...;"), by the keys the
// CUPS usb backend takes it from, in its order: SERIALNUMBER, SERN, SN (keys without regard to
// case, blanks around keys and values dropped). None when the ID names none, or an empty one.
std::optional<std::string> DeviceIdSerial(std::string_view deviceId);

// Asks `printing`, a printing interface of a device in `list`, for its IEEE 1284 device ID
// (printer class request GET_DEVICE_ID on the active configuration) and returns the serial it
// names. The interface is claimed for the request, from the kernel's printer driver if that
// holds it, and given back before this returns. None when the device cannot be opened or
// claimed, or does not answer.
std::optional<std::string> ReadDeviceIdSerial(UsbDeviceList& list,
                                              const PrintingInterface& printing);

}  // namespace fwup::libusb
