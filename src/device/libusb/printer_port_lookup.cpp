#include "device/libusb/printer_port_lookup.h"

#include "device/libusb/ieee1284_device_id.h"
#include "device/libusb/libusb_backend.h"
#include "device/libusb/printer_snapshot.h"
#include "device/libusb/usb_serial.h"
#include "device/port_name.h"

namespace fwup::libusb {

std::optional<std::uint32_t> FindPrinterPortNumber(UsbBackend& backend, const UsbPrinterKey& key) {
    const std::unique_ptr<UsbDeviceList> list = backend.ListDevices();
    if (!list) {
        return std::nullopt;
    }
    const std::vector<PrinterSetMember> members = TakePrinterSnapshot(*list);
    const std::string serial = SafeSerial(key.serial);
    for (std::size_t i = 0; i < members.size(); ++i) {
        const PrinterSetMember& member = members[i];
        const InterfaceAddress& address = member.printing.address;
        if (address.vendorId != key.vendorId || address.productId != key.productId ||
            (key.interfaceNumber && *key.interfaceNumber != address.interfaceNumber)) {
            continue;
        }
        if (member.serial == serial) {
            return static_cast<std::uint32_t>(i + 1);
        }
        // Asked only of the printers the queue may mean, and only when the URI names a serial:
        // an empty one stands for a printer with no serial at all.
        if (!serial.empty()) {
            const std::optional<std::string> idSerial = ReadDeviceIdSerial(*list, member.printing);
            if (idSerial && SafeSerial(*idSerial) == serial) {
                return static_cast<std::uint32_t>(i + 1);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> HostPrinterPortName(const UsbPrinterKey& key) {
    const std::unique_ptr<UsbBackend> backend = MakeLibusbBackend();
    if (!backend) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> port = FindPrinterPortNumber(*backend, key);
    if (!port) {
        return std::nullopt;
    }
    return FormatPortName(*port);
}

}  // namespace fwup::libusb
