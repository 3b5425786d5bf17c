#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/libusb/printing_interfaces.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// One member of the interface set: a printing interface with the names the core sees.
struct PrinterSetMember {
    PrintingInterface printing;
    std::string serial;       // SafeSerial of the device's serial; empty when it has none
    std::wstring instanceId;  // FormatInstanceId, with TopologySerial when `serial` is empty
    std::wstring path;        // FormatInterfacePath
};

// The present printing interfaces in FindPrintingInterfaces order, so a member's port number is
// its position plus one. Each device with a printing interface is opened once to read its
// serial. None when the devices cannot be listed.
std::optional<std::vector<PrinterSetMember>> TakePrinterSnapshot(UsbBackend& backend);
// The same over a list already taken, which a caller keeps to open the members' devices again.
std::vector<PrinterSetMember> TakePrinterSnapshot(UsbDeviceList& list);

}  // namespace fwup::libusb
