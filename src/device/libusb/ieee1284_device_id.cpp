#include "device/libusb/ieee1284_device_id.h"

#include <array>
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
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
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

std::optional<std::string_view> FieldValue(std::string_view deviceId, std::string_view key) {
    while (!deviceId.empty()) {
        const std::size_t end = deviceId.find(';');
        const std::string_view field = deviceId.substr(0, end);
        deviceId = end == std::string_view::npos ? std::string_view() : deviceId.substr(end + 1);
        const std::size_t colon = field.find(':');
        if (colon != std::string_view::npos && EqualsNoCase(Trimmed(field.substr(0, colon)), key)) {
            return Trimmed(field.substr(colon + 1));
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string_view> DeviceIdText(std::span<const std::uint8_t> reply) {
    if (reply.size() < 2) {
        return std::nullopt;
    }
    const std::size_t length = (static_cast<std::size_t>(reply[0]) << 8) | reply[1];
    if (length < 2) {
        return std::nullopt;
    }
    const std::size_t end = length < reply.size() ? length : reply.size();
    return std::string_view(reinterpret_cast<const char*>(reply.data()) + 2, end - 2);
}

std::optional<std::string> DeviceIdSerial(std::string_view deviceId) {
    for (const std::string_view key : kSerialKeys) {
        const std::optional<std::string_view> value = FieldValue(deviceId, key);
        if (value && !value->empty()) {
            return std::string(*value);
        }
    }
    return std::nullopt;
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
    const std::optional<std::string_view> text =
        DeviceIdText(std::span<const std::uint8_t>(reply.data(), static_cast<std::size_t>(count)));
    if (!text) {
        return std::nullopt;
    }
    return DeviceIdSerial(*text);
}

}  // namespace fwup::libusb
