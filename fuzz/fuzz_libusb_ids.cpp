// The Linux adapter's texts made from what a USB device reports: SafeSerial over a raw serial
// string (the result is printable, bounded and unchanged by a second pass), FormatInstanceId and
// TopologySerial over fuzzed IDs, and ParseInterfacePath over any text (what it accepts must
// format back to the same path).
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "device/libusb/instance_id.h"
#include "device/libusb/interface_path.h"
#include "device/libusb/usb_serial.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    namespace lu = fwup::libusb;

    const std::vector<std::uint8_t> raw =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    const std::string serial = lu::SafeSerial(raw);
    if (serial.size() > lu::kMaxSerialChars || lu::SafeSerial(serial) != serial) {
        std::abort();
    }
    for (const char c : serial) {
        if (c < '!' || c > '~' || c == '\\' || c == '#' || c == ',') {
            std::abort();
        }
    }

    const std::uint16_t vendorId = input.ConsumeIntegral<std::uint16_t>();
    const std::uint16_t productId = input.ConsumeIntegral<std::uint16_t>();
    std::optional<std::uint8_t> composite;
    if (input.ConsumeBool()) {
        composite = input.ConsumeIntegral<std::uint8_t>();
    }
    (void)lu::FormatInstanceId(vendorId, productId, composite, serial);

    const std::uint8_t bus = input.ConsumeIntegral<std::uint8_t>();
    const std::vector<std::uint8_t> ports =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 9));
    (void)lu::TopologySerial(bus, ports);

    const std::string pathBytes = input.ConsumeRemainingBytesAsString();
    std::wstring path;
    for (const char c : pathBytes) {
        path.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    const std::optional<lu::InterfaceAddress> address = lu::ParseInterfacePath(path);
    if (address) {
        if (lu::FormatInterfacePath(*address) != path) {
            std::abort();
        }
        if (address->ports.empty() || address->ports.size() > 7) {
            std::abort();
        }
    }
    return 0;
}
