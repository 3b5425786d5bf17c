#include "device/libusb/printing_interfaces.h"

#include <algorithm>
#include <tuple>

namespace fwup::libusb {
namespace {

void AddDevice(UsbDeviceList& list, std::size_t index, std::vector<PrintingInterface>& found) {
    UsbDeviceDescriptor descriptor;
    UsbConfiguration configuration;
    if (!list.DeviceDescriptor(index, descriptor) ||
        !list.ActiveConfiguration(index, configuration)) {
        return;
    }
    std::vector<PrintingInterface> printing;
    for (const UsbInterface& usbInterface : configuration.interfaces) {
        const std::optional<ChannelSetting> setting = ChooseChannelSetting(usbInterface);
        if (!setting ||
            std::any_of(printing.begin(), printing.end(), [&](const PrintingInterface& p) {
                return p.setting.interfaceNumber == setting->interfaceNumber;
            })) {
            continue;
        }
        PrintingInterface entry;
        entry.deviceIndex = index;
        entry.composite = configuration.interfaces.size() > 1;
        entry.altSettingCount = usbInterface.altSettings.size();
        entry.setting = *setting;
        entry.serialNumberIndex = descriptor.serialNumberIndex;
        printing.push_back(entry);
    }
    if (printing.empty()) {
        return;
    }
    UsbLocation location;
    // Root hubs have no port path, and a path deeper than USB allows is no real device.
    if (!list.Location(index, location) || location.ports.empty() ||
        location.ports.size() > kMaxPortDepth) {
        return;
    }
    for (PrintingInterface& entry : printing) {
        entry.address = {location.bus,        location.ports,
                         location.address,    entry.setting.interfaceNumber,
                         descriptor.vendorId, descriptor.productId};
        found.push_back(std::move(entry));
    }
}

auto OrderKey(const PrintingInterface& p) {
    // The address only separates devices that claim the same place, which real ones never do.
    return std::tie(p.address.bus, p.address.ports, p.address.interfaceNumber,
                    p.address.deviceAddress);
}

}  // namespace

std::vector<PrintingInterface> FindPrintingInterfaces(UsbDeviceList& list) {
    std::vector<PrintingInterface> found;
    const std::size_t count = std::min(list.Count(), kMaxDevicesExamined);
    for (std::size_t index = 0; index < count; ++index) {
        AddDevice(list, index, found);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const PrintingInterface& a, const PrintingInterface& b) {
                         return OrderKey(a) < OrderKey(b);
                     });
    if (found.size() > kMaxPrintingInterfaces) {
        found.resize(kMaxPrintingInterfaces);
    }
    return found;
}

std::optional<std::uint32_t> PortNumberIn(const std::vector<PrintingInterface>& interfaces,
                                          const InterfaceAddress& address) {
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
        if (interfaces[i].address == address) {
            return static_cast<std::uint32_t>(i + 1);
        }
    }
    return std::nullopt;
}

}  // namespace fwup::libusb
