#include "usb_identity.h"

#include <cwctype>

#include "base/wide_text.h"
#include "device/device_table.h"

namespace fwup::gadget {
namespace {

std::optional<std::uint16_t> HexField(std::wstring_view text, std::wstring_view key) {
    const std::size_t at = text.find(key);
    if (at == std::wstring_view::npos || at + key.size() + 4 > text.size()) {
        return std::nullopt;
    }
    std::uint16_t value = 0;
    for (const wchar_t c : text.substr(at + key.size(), 4)) {
        if (!std::iswxdigit(c)) {
            return std::nullopt;
        }
        const int digit = std::iswdigit(c) ? c - L'0' : (std::towlower(c) - L'a' + 10);
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

}  // namespace

std::optional<UsbIdentity> IdentityFromInstanceId(std::wstring_view instanceId) {
    const std::optional<std::uint16_t> vendor = HexField(instanceId, L"VID_");
    const std::optional<std::uint16_t> product = HexField(instanceId, L"PID_");
    const std::size_t slash = instanceId.rfind(L'\\');
    if (!vendor || !product || slash == std::wstring_view::npos || slash + 1 == instanceId.size()) {
        return std::nullopt;
    }
    UsbIdentity identity;
    identity.vendorId = *vendor;
    identity.productId = *product;
    identity.serial = ToUtf8(instanceId.substr(slash + 1));
    identity.deviceSerial = identity.serial;
    const DeviceTableRow* row = FindDeviceTableRow(instanceId);
    identity.model = row ? ToUtf8(row->ModelName) : "Printer";
    return identity;
}

std::string Ieee1284DeviceId(const UsbIdentity& identity) {
    if (identity.deviceIdReply) {
        return *identity.deviceIdReply;
    }
    std::string model = identity.model;
    std::string maker = "Viruzu";
    if (model.rfind(maker + " ", 0) == 0) {
        model.erase(0, maker.size() + 1);
    }
    const std::string text = "MFG:" + maker + ";MDL:" + model +
                             ";CMD:PJL,ACL;CLS:PRINTER;SN:" + identity.deviceSerial + ";";
    const std::size_t length = text.size() + 2;
    return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + text;
}

}  // namespace fwup::gadget
