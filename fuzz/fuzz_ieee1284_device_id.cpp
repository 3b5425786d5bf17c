// The IEEE 1284 device ID a printer answers GET_DEVICE_ID with: DeviceIdText over any reply (the
// text stays inside the bytes that arrived and within the length the reply gives) and
// DeviceIdSerial over that text and over the raw bytes (a serial is never empty, never longer
// than the ID and has no blanks at its ends).
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/libusb/ieee1284_device_id.h"

namespace {

void CheckSerial(std::string_view deviceId) {
    const std::optional<std::string> serial = fwup::libusb::DeviceIdSerial(deviceId);
    if (!serial) {
        return;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    if (serial->empty() || serial->size() > deviceId.size() || blank(serial->front()) ||
        blank(serial->back())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    if (const std::optional<std::string_view> text = fwup::libusb::DeviceIdText(reply)) {
        const auto* begin = reinterpret_cast<const char*>(data);
        if (text->data() < begin + 2 || text->data() + text->size() > begin + size ||
            text->size() + 2 > ((std::size_t{data[0]} << 8) | data[1])) {
            std::abort();
        }
        CheckSerial(*text);
    }
    CheckSerial(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
