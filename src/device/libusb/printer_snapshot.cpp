#include "device/libusb/printer_snapshot.h"

#include <map>

#include "device/libusb/instance_id.h"
#include "device/libusb/usb_serial.h"

namespace fwup::libusb {

std::optional<std::vector<PrinterSetMember>> TakePrinterSnapshot(UsbBackend& backend) {
    const std::unique_ptr<UsbDeviceList> list = backend.ListDevices();
    if (!list) {
        return std::nullopt;
    }
    return TakePrinterSnapshot(*list);
}

std::vector<PrinterSetMember> TakePrinterSnapshot(UsbDeviceList& list) {
    std::vector<PrinterSetMember> members;
    // A composite device's interfaces share one serial: its string is read once.
    std::map<std::size_t, std::string> serials;
    for (const PrintingInterface& printing : FindPrintingInterfaces(list)) {
        auto known = serials.find(printing.deviceIndex);
        if (known == serials.end()) {
            const std::optional<std::string> serial =
                ReadDeviceSerial(list, printing.deviceIndex, printing.serialNumberIndex);
            known = serials.emplace(printing.deviceIndex, serial.value_or("")).first;
        }
        PrinterSetMember member;
        member.printing = printing;
        member.serial = known->second;
        const InterfaceAddress& address = printing.address;
        member.instanceId = FormatInstanceId(
            address.vendorId, address.productId,
            printing.composite ? std::optional(address.interfaceNumber) : std::nullopt,
            member.serial.empty() ? TopologySerial(address.bus, address.ports) : member.serial);
        member.path = FormatInterfacePath(address);
        members.push_back(std::move(member));
    }
    return members;
}

}  // namespace fwup::libusb
