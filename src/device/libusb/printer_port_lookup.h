#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// A USB printer as a print queue's device URI names it, e.g.
// usb://Viruzu/TQ3800HKR%20Series?serial=ABC123&interface=0 with the IDs of the device.
struct UsbPrinterKey {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string serial;  // as decoded from the URI; empty for a device without one
    std::optional<std::uint8_t> interfaceNumber;  // none: the device's first printing interface
};

// The port number the interface source gives the present printing interface `key` names, or
// none when no present interface matches. The serial is compared in its SafeSerial form, exactly
// (case matters), with the device's USB serial string and, where that differs, with the serial
// of the interface's IEEE 1284 device ID: Debian's CUPS usb backend names a printer by its USB
// serial string (and by none without one), builds that read the ID's serial first by the latter.
// Where several present devices match (devices that share a serial), the first
// in port order wins.
std::optional<std::uint32_t> FindPrinterPortNumber(UsbBackend& backend, const UsbPrinterKey& key);

// The same over this machine's USB, formatted as a port name (USB001 and so on): what the
// discovery lists for that printer at this moment. None also when libusb cannot start.
std::optional<std::wstring> HostPrinterPortName(const UsbPrinterKey& key);

}  // namespace fwup::libusb
