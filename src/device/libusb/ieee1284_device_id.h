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

// Most bytes of a device ID asked for, and the buffer size the length check below is against: the
// CUPS usb backend's. A longer ID is cut, and the serial sits early in any real one.
inline constexpr std::size_t kMaxDeviceIdBytes = 1024;
// How long the printer may take to answer GET_DEVICE_ID.
inline constexpr unsigned kDeviceIdTimeoutMs = 5000;
// Fewest bytes, the two length bytes included, a length may claim and be believed.
inline constexpr std::size_t kMinDeviceIdLength = 14;
// Most characters of one key or one value kept, as the CUPS parser keeps them.
inline constexpr std::size_t kMaxDeviceIdFieldChars = 255;

// The text of a GET_DEVICE_ID reply of which `reply` arrived, read as the CUPS usb backend reads
// it, since its queues name printers by what it read: the first two bytes give the length,
// counting themselves, big-endian; a length above kMaxDeviceIdBytes or below kMinDeviceIdLength
// is read again low byte first (some printers send it so), then cut to kMaxDeviceIdBytes. Still
// below kMinDeviceIdLength: no ID. The text is what follows the length bytes, up to that length,
// to what arrived and to the first NUL.
std::optional<std::string_view> DeviceIdText(std::span<const std::uint8_t> reply);

// The serial number an IEEE 1284 device ID names ("MFG:...;MDL:...;SN:...;"), parsed as CUPS
// parses it: fields are "key:value;" with blanks around keys and values dropped; a field not
// ended by ';' is dropped, and a key runs from the end of the last field to the next ':' (so a
// field without a colon swallows the next key). Of a key given twice (in any case) the last
// value counts; the keys asked, in CUPS's order, are SERIALNUMBER, SERN, SN, and the first
// present wins, even with an empty value. None when the ID names none of them.
std::optional<std::string> DeviceIdSerial(std::string_view deviceId);

// Both of the above: the serial a GET_DEVICE_ID reply of which `reply` arrived names, read with
// CUPS's rules (any bytes, any length). The whole reading of the untrusted reply.
std::optional<std::string> DeviceIdSerialOfReply(std::span<const std::uint8_t> reply);

// Asks `printing`, a printing interface of a device in `list`, for its IEEE 1284 device ID
// (printer class request GET_DEVICE_ID on the active configuration) and returns the serial it
// names. The interface is claimed for the request, from the kernel's printer driver if that
// holds it, and given back before this returns. None when the device cannot be opened or
// claimed, or does not answer, and when the ID names no serial.
std::optional<std::string> ReadDeviceIdSerial(UsbDeviceList& list,
                                              const PrintingInterface& printing);

}  // namespace fwup::libusb
