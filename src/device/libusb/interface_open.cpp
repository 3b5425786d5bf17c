#include "device/libusb/interface_open.h"

#include <algorithm>

#include "device/libusb/interface_claim.h"
#include "device/libusb/interface_path.h"
#include "device/libusb/libusb_channel.h"
#include "device/libusb/printing_interfaces.h"

namespace fwup::libusb {

UsbChannel OpenPrintingInterface(UsbBackend& backend, std::wstring_view path) {
    const std::optional<InterfaceAddress> address = ParseInterfacePath(path);
    if (!address) {
        return nullptr;
    }
    const std::unique_ptr<UsbDeviceList> list = backend.ListDevices();
    if (!list) {
        return nullptr;
    }
    const std::vector<PrintingInterface> present = FindPrintingInterfaces(*list);
    const auto found =
        std::find_if(present.begin(), present.end(),
                     [&](const PrintingInterface& p) { return p.address == *address; });
    if (found == present.end()) {
        return nullptr;
    }
    std::unique_ptr<InterfaceClaim> claim =
        InterfaceClaim::Take(list->Open(found->deviceIndex), found->setting.interfaceNumber);
    if (!claim) {
        return nullptr;
    }
    if (found->altSettingCount > 1 &&
        claim->handle().SetAltSetting(found->setting.interfaceNumber,
                                      found->setting.alternateSetting) != kUsbSuccess) {
        return nullptr;
    }
    return std::make_unique<LibusbChannel>(std::move(claim), found->setting);
}

}  // namespace fwup::libusb
