#include "device/port_name.h"

#include "base/wide_text.h"
#include "device/interface_source.h"

namespace fwup {

std::wstring FormatPortName(std::uint32_t portNumber) {
    return L"USB" + DecimalZeroPadded(portNumber, 3);
}

std::wstring ConvertedInterfacePath(std::wstring_view interfacePath) {
    std::wstring converted(interfacePath);
    for (wchar_t& c : converted) {
        if (c == L'\\') {
            c = L'#';
        }
    }
    return converted;
}

std::optional<std::wstring> GetUSBPortName(const std::wstring& interfacePath) {
    if (interfacePath.empty() || interfacePath.size() > kMaxInterfacePathChars) {
        return std::nullopt;
    }
    if (ConvertedInterfacePath(interfacePath).find(kDot4Marker) != std::wstring::npos) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> port = ActiveInterfaceSource().PortNumber(interfacePath);
    if (!port) {
        return std::nullopt;
    }
    return FormatPortName(*port);
}

}  // namespace fwup
