#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fwup::gadget {

// What the gadget tells the host about itself, taken from a scenario printer's instance ID.
struct UsbIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string serial;        // the USB serial-number string
    std::string model;         // the device table's model name, or "Printer" for other IDs
    std::string deviceSerial;  // the SN: field of the IEEE 1284 device ID
    // The whole GET_DEVICE_ID reply, length bytes included, instead of the one made from the
    // fields above.
    std::optional<std::string> deviceIdReply;
};

// Reads USB\VID_vvvv&PID_pppp\<serial> (an &MI_nn suffix is allowed). The serial is what
// follows the last backslash; an instance ID without one gives no identity.
std::optional<UsbIdentity> IdentityFromInstanceId(std::wstring_view instanceId);

// The IEEE 1284 device ID a printer class GET_DEVICE_ID returns: `deviceIdReply` when given,
// otherwise two bytes of big-endian length (counting themselves), then MFG:, MDL:, CMD:,
// CLS:PRINTER and SN: fields.
std::string Ieee1284DeviceId(const UsbIdentity& identity);

}  // namespace fwup::gadget
