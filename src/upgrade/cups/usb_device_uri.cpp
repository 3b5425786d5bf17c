#include <cstdint>
#include <memory>
#include <string>

#include "base/hex_digit.h"
#include "device/device_table.h"
#include "device/libusb/libusb_backend.h"
#include "device/port_name.h"
#include "upgrade/cups/cups_queues.h"

namespace fwup::cups {
namespace {

std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = HexDigitValue(text[i + 1]);
        const int low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

std::optional<std::uint8_t> InterfaceNumber(std::string_view text) {
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The 4-digit hex number after `tag` in a table HardID such as USB\VID_5A7C&PID_B101.
std::optional<std::uint16_t> HardIdNumber(std::wstring_view hardId, std::wstring_view tag) {
    const std::size_t at = hardId.find(tag);
    if (at == std::wstring_view::npos || at + tag.size() + 4 > hardId.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = at + tag.size(); i < at + tag.size() + 4; ++i) {
        const wchar_t c = hardId[i];
        const int digit = c < 0x80 ? HexDigitValue(static_cast<char>(c)) : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

// Where the first parameter of `query` ends. A serial is the device's own text and may hold an
// '&' of its own: that ends it only where another parameter the backend writes follows.
std::size_t ParameterEnd(std::string_view query) {
    if (query.substr(0, 7) != "serial=") {
        return query.find('&');
    }
    for (std::size_t at = query.find('&'); at != std::string_view::npos;
         at = query.find('&', at + 1)) {
        const std::string_view rest = query.substr(at + 1);
        for (const std::string_view name : {"interface=", "serial=", "uuid="}) {
            if (rest.substr(0, name.size()) == name) {
                return at;
            }
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::optional<libusb::UsbPrinterKey> UsbPrinterOfUri(std::string_view deviceUri) {
    if (!StartsWithNoCase(deviceUri, "usb://")) {
        return std::nullopt;
    }
    libusb::UsbPrinterKey key;
    const std::size_t queryStart = deviceUri.find('?');
    if (queryStart == std::string_view::npos) {
        return key;
    }
    std::string_view query = deviceUri.substr(queryStart + 1);
    while (!query.empty()) {
        const std::size_t end = ParameterEnd(query);
        const std::string_view parameter = query.substr(0, end);
        query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
        const std::size_t equals = parameter.find('=');
        const std::string_view name = parameter.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : parameter.substr(equals + 1);
        if (name == "serial") {
            std::optional<std::string> serial = PercentDecoded(value);
            if (!serial) {
                return std::nullopt;
            }
            key.serial = std::move(*serial);
        } else if (name == "interface") {
            key.interfaceNumber = InterfaceNumber(value);
            if (!key.interfaceNumber) {
                return std::nullopt;
            }
        }
        // Other parameters the backend may add (uuid and the like) say nothing about the port.
    }
    return key;
}

std::wstring PortOfDeviceUri(libusb::UsbBackend& backend, std::string_view deviceUri) {
    std::optional<libusb::UsbPrinterKey> key = UsbPrinterOfUri(deviceUri);
    if (!key) {
        return {};
    }
    for (const DeviceTableRow& row : DeviceTable) {
        const std::optional<std::uint16_t> vendor = HardIdNumber(row.HardID, L"VID_");
        const std::optional<std::uint16_t> product = HardIdNumber(row.HardID, L"PID_");
        if (!vendor || !product) {
            continue;
        }
        key->vendorId = *vendor;
        key->productId = *product;
        if (const std::optional<std::uint32_t> port =
                libusb::FindPrinterPortNumber(backend, *key)) {
            return FormatPortName(*port);
        }
    }
    return {};
}

std::wstring HostPortOfDeviceUri(std::string_view deviceUri) {
    if (!UsbPrinterOfUri(deviceUri)) {
        return {};
    }
    const std::unique_ptr<libusb::UsbBackend> backend = libusb::MakeLibusbBackend();
    if (!backend) {
        return {};
    }
    return PortOfDeviceUri(*backend, deviceUri);
}

}  // namespace fwup::cups
