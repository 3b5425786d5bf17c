#include "device/libusb/usb_serial.h"

#include <array>

namespace fwup::libusb {
namespace {

bool IsPadding(std::uint8_t c) {
    return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsSafe(std::uint8_t c) {
    return c >= '!' && c <= '~' && c != '\\' && c != '#' && c != ',';
}

}  // namespace

std::string SafeSerial(std::span<const std::uint8_t> raw) {
    std::size_t length = raw.size();
    while (length > 0 && IsPadding(raw[length - 1])) {
        --length;
    }
    std::string serial;
    for (std::size_t i = 0; i < length && serial.size() < kMaxSerialChars; ++i) {
        serial += IsSafe(raw[i]) ? static_cast<char>(raw[i]) : '_';
    }
    return serial;
}

std::string SafeSerial(std::string_view raw) {
    return SafeSerial(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size()));
}

std::optional<std::string> ReadDeviceSerial(UsbDeviceList& list, std::size_t index,
                                            std::uint8_t serialNumberIndex) {
    if (serialNumberIndex == 0) {
        return std::nullopt;
    }
    const std::unique_ptr<UsbDeviceHandle> handle = list.Open(index);
    if (!handle) {
        return std::nullopt;
    }
    // One byte more than a descriptor can hold, so no real answer is ever cut.
    std::array<std::uint8_t, 256> text{};
    const int count = handle->ReadStringAscii(serialNumberIndex, text);
    if (count <= 0 || static_cast<std::size_t>(count) > text.size()) {
        return std::nullopt;
    }
    std::string serial = SafeSerial(std::span<const std::uint8_t>(text.data(), count));
    if (serial.empty()) {
        return std::nullopt;
    }
    return serial;
}

}  // namespace fwup::libusb
