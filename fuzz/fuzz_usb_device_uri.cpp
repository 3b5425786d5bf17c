// The device URI of a CUPS queue, as the spooler gives it: UsbPrinterOfUri over any text. What it
// accepts is a usb:// URI; the serial it reads is the percent-decoded value, so never longer than
// the URI; the vendor and product IDs stay unset.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "upgrade/cups/cups_queues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view uri(reinterpret_cast<const char*>(data), size);
    const std::optional<fwup::libusb::UsbPrinterKey> key = fwup::cups::UsbPrinterOfUri(uri);
    if (!key) {
        return 0;
    }
    if (uri.size() < 6 || key->vendorId != 0 || key->productId != 0 ||
        key->serial.size() > uri.size()) {
        std::abort();
    }
    return 0;
}
