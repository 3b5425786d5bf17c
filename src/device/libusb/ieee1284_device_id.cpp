#include "device/libusb/ieee1284_device_id.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

#include "device/libusb/interface_claim.h"

namespace fwup::libusb {
namespace {

// GET_DEVICE_ID: class request, device to host, to an interface.
constexpr std::uint8_t kRequestTypeClassInInterface = 0xA1;
constexpr std::uint8_t kRequestGetDeviceId = 0;
// The configuration index of the request: the configuration every discovered printer is in.
constexpr std::uint16_t kActiveConfigurationIndex = 0;

constexpr std::string_view kSerialKeys[] = {"SERIALNUMBER", "SERN", "SN"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// The first kMaxDeviceIdFieldChars characters of a key or value, trailing blanks dropped.
std::string_view FieldText(std::string_view text) {
    text = text.substr(0, kMaxDeviceIdFieldChars);
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        if (c != b[i]) {
            return false;
        }
    }
    return true;
}

std::size_t LengthOf(std::uint8_t high, std::uint8_t low) {
    return (static_cast<std::size_t>(high) << 8) | low;
}

bool Believable(std::size_t length) {
    return length >= kMinDeviceIdLength && length <= kMaxDeviceIdBytes;
}

}  // namespace

std::optional<std::string_view> DeviceIdText(std::span<const std::uint8_t> reply) {
    if (reply.size() < 2) {
        return std::nullopt;
    }
    std::size_t length = LengthOf(reply[0], reply[1]);
    if (!Believable(length)) {
        length = LengthOf(reply[1], reply[0]);
    }
    length = std::min(length, kMaxDeviceIdBytes);
    if (length < kMinDeviceIdLength) {
        return std::nullopt;
    }
    const std::size_t end = std::min(length, reply.size());
    const std::string_view text(reinterpret_cast<const char*>(reply.data()) + 2, end - 2);
    return text.substr(0, text.find('\0'));
}

std::optional<std::string> DeviceIdSerial(std::string_view deviceId) {
    std::optional<std::string_view> values[std::size(kSerialKeys)];
    for (;;) {
        deviceId = WithoutLeadingBlanks(deviceId);
        const std::size_t colon = deviceId.find(':');
        if (colon == std::string_view::npos) {
            break;
        }
        const std::string_view key = FieldText(deviceId.substr(0, colon));
        deviceId = WithoutLeadingBlanks(deviceId.substr(colon + 1));
        const std::size_t semicolon = deviceId.find(';');
        if (semicolon == std::string_view::npos) {
            break;  // an unterminated last field is no field
        }
        const std::string_view value = FieldText(deviceId.substr(0, semicolon));
        deviceId.remove_prefix(semicolon + 1);
        for (std::size_t i = 0; i < std::size(kSerialKeys); ++i) {
            if (EqualsNoCase(key, kSerialKeys[i])) {
                values[i] = value;  // a later field of the same key replaces an earlier one
            }
        }
    }
    for (const std::optional<std::string_view>& value : values) {
        if (value) {
            return std::string(*value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> DeviceIdSerialOfReply(std::span<const std::uint8_t> reply) {
    const std::optional<std::string_view> text = DeviceIdText(reply);
    if (!text) {
        return std::nullopt;
    }
    return DeviceIdSerial(*text);
}

std::optional<std::string> ReadDeviceIdSerial(UsbDeviceList& list,
                                              const PrintingInterface& printing) {
    std::unique_ptr<UsbDeviceHandle> handle = list.Open(printing.deviceIndex);
    if (!handle) {
        return std::nullopt;
    }
    // Linux passes a class request to an interface only from the program that has claimed it.
    const std::unique_ptr<InterfaceClaim> claim =
        InterfaceClaim::Take(std::move(handle), printing.address.interfaceNumber);
    if (!claim) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kMaxDeviceIdBytes> reply{};
    const auto index = static_cast<std::uint16_t>((printing.address.interfaceNumber << 8) |
                                                  printing.setting.alternateSetting);
    const int count =
        claim->handle().ControlIn(kRequestTypeClassInInterface, kRequestGetDeviceId,
                                  kActiveConfigurationIndex, index, reply, kDeviceIdTimeoutMs);
    // The count comes from the device's side of the wire: it may claim more than the buffer.
    if (count <= 0 || static_cast<std::size_t>(count) > reply.size()) {
        return std::nullopt;
    }
    return DeviceIdSerialOfReply(
        std::span<const std::uint8_t>(reply.data(), static_cast<std::size_t>(count)));
}

}  // namespace fwup::libusb
