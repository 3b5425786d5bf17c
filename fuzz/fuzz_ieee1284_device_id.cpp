// The IEEE 1284 device ID a printer answers GET_DEVICE_ID with, read as CUPS reads it:
// DeviceIdText over any reply (the text stays inside the bytes that arrived, after the two length
// bytes, within the buffer CUPS reads into, and holds no NUL) and DeviceIdSerial over that text and
// over the raw bytes (a serial is never longer than the ID and has no blanks at its ends; it may
// be empty, as CUPS takes an empty value).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/libusb/ieee1284_device_id.h"

namespace {

void CheckSerial(std::string_view deviceId, const std::optional<std::string>& serial) {
    if (!serial || serial->empty()) {
        return;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    if (serial->size() > deviceId.size() || blank(serial->front()) || blank(serial->back())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    const std::optional<std::string_view> text = fwup::libusb::DeviceIdText(reply);
    if (text) {
        const auto* begin = reinterpret_cast<const char*>(data);
        if (text->data() < begin + 2 || text->data() + text->size() > begin + size ||
            text->size() + 2 > fwup::libusb::kMaxDeviceIdBytes ||
            std::find(text->begin(), text->end(), '\0') != text->end()) {
            std::abort();
        }
        CheckSerial(*text, fwup::libusb::DeviceIdSerial(*text));
    }
    // The whole reading is the two parts, and nothing else.
    const std::optional<std::string> whole = fwup::libusb::DeviceIdSerialOfReply(reply);
    if (whole != (text ? fwup::libusb::DeviceIdSerial(*text) : std::nullopt)) {
        std::abort();
    }
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    CheckSerial(raw, fwup::libusb::DeviceIdSerial(raw));
    return 0;
}
