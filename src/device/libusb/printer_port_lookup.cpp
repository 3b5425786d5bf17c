#include "device/libusb/printer_port_lookup.h"

#include "device/libusb/libusb_backend.h"
#include "device/libusb/printer_snapshot.h"
#include "device/libusb/usb_serial.h"
#include "device/port_name.h"

namespace fwup::libusb {

std::optional<std::uint32_t> FindPrinterPortNumber(UsbBackend& backend, const UsbPrinterKey& key) {
    const std::optional<std::vector<PrinterSetMember>> members = TakePrinterSnapshot(backend);
    if (!members) {
        return std::nullopt;
    }
    const std::string serial = SafeSerial(key.serial);
    for (std::size_t i = 0; i < members->size(); ++i) {
        const PrinterSetMember& member = (*members)[i];
        const InterfaceAddress& address = member.printing.address;
        if (address.vendorId == key.vendorId && address.productId == key.productId &&
            member.serial == serial &&
            (!key.interfaceNumber || *key.interfaceNumber == address.interfaceNumber)) {
            return static_cast<std::uint32_t>(i + 1);
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
