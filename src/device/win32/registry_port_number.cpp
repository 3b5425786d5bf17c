#include "device/win32/registry_port_number.h"

#include <windows.h>

#include <objbase.h>

#include <array>

#include "base/win32/unique_win32.h"
#include "device/port_name.h"
#include "device/win32/usbprint_class.h"

namespace fwup::win32 {
namespace {

// StringFromGUID2 needs 39 characters; the larger buffer is what the platform's own tools pass.
constexpr int kGuidTextChars = 60;

std::optional<std::wstring> PortParametersKeyName(const std::wstring& interfacePath) {
    if (interfacePath.empty() || interfacePath.find(L'\0') != std::wstring::npos) {
        return std::nullopt;
    }
    std::array<wchar_t, kGuidTextChars> guidText{};
    if (StringFromGUID2(kUsbPrintInterfaceClass, guidText.data(), kGuidTextChars) == 0) {
        return std::nullopt;
    }
    std::wstring name = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";
    name += guidText.data();
    name += L'\\';
    name += ConvertedInterfacePath(interfacePath);
    name += L"\\#\\Device Parameters";
    if (name.size() > kMaxPortKeyNameChars) {
        return std::nullopt;
    }
    return name;
}

}  // namespace

std::optional<std::uint32_t> ReadPortNumber(const std::wstring& interfacePath) {
    const std::optional<std::wstring> keyName = PortParametersKeyName(interfacePath);
    if (!keyName) {
        return std::nullopt;
    }
    // Opened for querying only: a lookup must never create keys in the machine's device-class
    // tree, and a missing key simply means the interface has no port.
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName->c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key.get(), L"Port Number", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // A shorter value would leave part of the number unread, and another type is not a port
    // number at all; either would produce a port name that no print queue has.
    if (type != REG_DWORD || size != sizeof(value)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace fwup::win32
