#include "device/usb_open.h"

#include <optional>
#include <string>

#include "device/interface_source.h"
#include "device/port_name.h"

namespace fwup {

UsbChannel OpenUSBDevice(std::wstring_view wantedPortName) {
    if (wantedPortName.empty()) {
        return nullptr;
    }
    InterfaceSource& source = ActiveInterfaceSource();
    std::wstring matchedPath;
    {
        std::unique_ptr<DeviceInterfaceSet> set = source.OpenSet();
        if (!set) {
            return nullptr;
        }
        for (std::uint32_t member = 0; member < kMaxInterfacesWalked; ++member) {
            std::wstring path;
            if (set->InterfacePath(member, path) != SetLookup::kFound) {
                return nullptr;
            }
            const std::optional<std::wstring> portName = GetUSBPortName(path);
            if (portName && *portName == wantedPortName) {
                matchedPath = std::move(path);
                break;
            }
        }
        // The set is released before the open, as the platform's own tools do.
    }
    if (matchedPath.empty()) {
        return nullptr;
    }
    return source.OpenInterface(matchedPath);
}

}  // namespace fwup
