#include "device/usb_open.h"

#include <optional>
#include <string>

#include "device/device_table.h"
#include "device/discovery.h"
#include "device/interface_source.h"
#include "device/port_name.h"

namespace fwup {

UsbChannel OpenUSBDevice(const PrinterTarget& printer) {
    const std::wstring_view wantedPortName = printer.portName();
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
        for (std::uint32_t index = 0; index < kMaxDevicesWalked && matchedPath.empty(); ++index) {
            std::wstring instanceId;
            if (set->DeviceInstanceId(index, instanceId) != SetLookup::kFound) {
                break;
            }
            std::wstring path;
            if (FindDeviceTableRow(instanceId) == nullptr ||
                set->DeviceInterfacePath(index, path) != InterfaceLookup::kFound) {
                continue;
            }
            const std::optional<std::wstring> portName = GetUSBPortName(path);
            if (portName && *portName == wantedPortName) {
                if (!printer.Admits(instanceId, path)) {
                    return nullptr;
                }
                matchedPath = std::move(path);
            }
        }
        // The set is released before the open, so no enumeration handle outlives this call.
    }
    if (matchedPath.empty()) {
        return nullptr;
    }
    return source.OpenInterface(matchedPath);
}

}  // namespace fwup
