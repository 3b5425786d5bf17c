#include "device/libusb/instance_id.h"

#include "base/wide_text.h"

namespace fwup::libusb {
namespace {

std::wstring HexUpper(std::uint32_t value, std::size_t digits) {
    std::wstring text(digits, L'0');
    for (std::size_t i = digits; i > 0; --i) {
        text[i - 1] = L"0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    }
    return text;
}

}  // namespace

std::wstring FormatInstanceId(std::uint16_t vendorId, std::uint16_t productId,
                              std::optional<std::uint8_t> compositeInterface,
                              std::string_view serial) {
    std::wstring id = L"USB\\VID_" + HexUpper(vendorId, 4) + L"&PID_" + HexUpper(productId, 4);
    if (compositeInterface) {
        id += L"&MI_" + HexUpper(*compositeInterface, 2);
    }
    return id + L"\\" + Widen(serial);
}

std::string TopologySerial(std::uint8_t bus, std::span<const std::uint8_t> ports) {
    std::string serial = "bus" + std::to_string(bus) + "-port";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (i > 0) {
            serial += '.';
        }
        serial += std::to_string(ports[i]);
    }
    return serial;
}

}  // namespace fwup::libusb
