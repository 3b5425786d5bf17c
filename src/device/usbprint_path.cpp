#include "device/usbprint_path.h"

namespace fwup {

std::wstring DefaultUsbPrintPath(std::wstring_view instanceId, std::size_t instance) {
    std::wstring path = L"\\\\?\\";
    for (wchar_t c : instanceId) {
        if (c == L'\\') {
            c = L'#';
        } else if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        path.push_back(c);
    }
    if (instance > 1) {
        path += L"&" + std::to_wstring(instance);
    }
    path += L"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    return path;
}

}  // namespace fwup
