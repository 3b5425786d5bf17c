#include "device/win32/setupapi_interface_set.h"

#include <windows.h>

#include <setupapi.h>

#include <array>
#include <cwchar>
#include <utility>

#include "device/win32/interface_detail.h"
#include "device/win32/usbprint_class.h"
#include "device/win32/win32_owners.h"

namespace fwup::win32 {
namespace {

class SetupApiInterfaceSet final : public DeviceInterfaceSet {
  public:
    explicit SetupApiInterfaceSet(UniqueDeviceInfoSet set) : set_(std::move(set)) {}

    SetLookup DeviceInstanceId(std::uint32_t deviceIndex, std::wstring& instanceId) override {
        SP_DEVINFO_DATA device{};
        // SetupAPI reports every failure here as the end of the walk, ERROR_NO_MORE_ITEMS or not:
        // a device it cannot enumerate cannot be examined either.
        if (!EnumDevice(deviceIndex, device)) {
            return SetLookup::kEnd;
        }
        std::array<wchar_t, kInstanceIdChars> buffer{};
        if (!SetupDiGetDeviceInstanceIdW(set_.get(), &device, buffer.data(),
                                         static_cast<DWORD>(buffer.size()), nullptr)) {
            return SetLookup::kFailed;
        }
        instanceId.assign(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
        return SetLookup::kFound;
    }

    InterfaceLookup DeviceInterfacePath(std::uint32_t deviceIndex, std::wstring& path) override {
        SP_DEVINFO_DATA device{};
        if (!EnumDevice(deviceIndex, device)) {
            return InterfaceLookup::kNoInterface;
        }
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(set_.get(), &device, &kUsbPrintInterfaceClass, 0,
                                         &interfaceData)) {
            return InterfaceLookup::kNoInterface;
        }
        DWORD required = 0;
        if (!SetupDiGetDeviceInterfaceDetailW(set_.get(), &interfaceData, nullptr, 0, &required,
                                              nullptr) &&
            GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return InterfaceLookup::kSizeFailed;
        }
        InterfaceDetailBuffer detail;
        if (!detail.Allocate(required) ||
            !SetupDiGetDeviceInterfaceDetailW(set_.get(), &interfaceData, detail.get(),
                                              detail.size(), nullptr, nullptr)) {
            return InterfaceLookup::kDetailFailed;
        }
        std::optional<std::wstring> devicePath = detail.DevicePath();
        if (!devicePath) {
            return InterfaceLookup::kDetailFailed;
        }
        path = std::move(*devicePath);
        return InterfaceLookup::kFound;
    }

  private:
    bool EnumDevice(std::uint32_t deviceIndex, SP_DEVINFO_DATA& device) {
        device.cbSize = sizeof(device);
        return SetupDiEnumDeviceInfo(set_.get(), deviceIndex, &device) != FALSE;
    }

    UniqueDeviceInfoSet set_;
};

}  // namespace

std::unique_ptr<DeviceInterfaceSet> OpenUsbPrintInterfaceSet() {
    UniqueDeviceInfoSet set(SetupDiGetClassDevsW(&kUsbPrintInterfaceClass, nullptr, nullptr,
                                                 DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.valid()) {
        return nullptr;
    }
    return std::make_unique<SetupApiInterfaceSet>(std::move(set));
}

}  // namespace fwup::win32
