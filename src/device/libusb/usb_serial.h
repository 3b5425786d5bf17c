#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// Longest serial kept: a string descriptor holds at most 126 UTF-16 characters.
inline constexpr std::size_t kMaxSerialChars = 126;

// The serial text as it may appear in an instance ID: trailing blanks and NULs (padding some
// devices send) dropped, at most kMaxSerialChars characters, and every character outside
// '!'..'~' or one of \ # , replaced by '_', because the backslash separates instance-ID parts
// and the others are separators in the platform's device paths. Applying it twice changes
// nothing. Empty when nothing is left.
std::string SafeSerial(std::span<const std::uint8_t> raw);
std::string SafeSerial(std::string_view raw);

// The safe serial of the device at `index` (its iSerialNumber string), or none when it names no
// serial, cannot be opened, or the string cannot be read or is empty.
std::optional<std::string> ReadDeviceSerial(UsbDeviceList& list, std::size_t index,
                                            std::uint8_t serialNumberIndex);

}  // namespace fwup::libusb
