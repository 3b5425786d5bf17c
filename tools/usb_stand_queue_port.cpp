// usb-stand-queue-port URI: prints the port name the print-queue lookup gives a CUPS device URI
// (nothing when none). The USB stand compares it with what CUPS's own usb backend lists; the
// console program has no command that takes a URI.
//
// usb-stand-queue-port --device-id-cases: one line per GET_DEVICE_ID reply of the unit tests'
// table (tests/device/libusb/device_id_replies.h), its name and its bytes in hex, for the
// printer gadget's --device-id-hex.
//
// usb-stand-queue-port --device-id-check NAME URI: with the one printer attached sending reply
// NAME, and URI what CUPS's backend lists for it, checks that our reader takes the table's serial
// from the printer, that the URI names the printer's USB serial string (no serial when it has
// none: the stand's CUPS never names a printer by its device ID's serial), and that the lookup
// maps the URI to USB001. Prints what it saw; exits 0 when all hold, 1 otherwise.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/cli/json_line.h"
#include "base/wide_text.h"
#include "device/libusb/device_id_replies.h"
#include "device/libusb/ieee1284_device_id.h"
#include "device/libusb/libusb_backend.h"
#include "device/libusb/printer_snapshot.h"
#include "upgrade/cups/cups_queues.h"

namespace {

using namespace fwup;

// A value of the printer or the URI as the note shows it, bytes that would garble the stand's log
// escaped.
std::string Shown(const std::optional<std::string>& text) {
    return text ? cli::JsonString(*text) : "(none)";
}

int ListCases() {
    for (const libusb::testing::DeviceIdReplyCase& row : libusb::testing::kDeviceIdReplies) {
        std::printf("%s ", row.name);
        for (const char c : row.reply) {
            std::printf("%02x", static_cast<unsigned char>(c));
        }
        std::printf("\n");
    }
    return 0;
}

int CheckCase(std::string_view name, const char* uri) {
    const libusb::testing::DeviceIdReplyCase* row = nullptr;
    for (const libusb::testing::DeviceIdReplyCase& candidate : libusb::testing::kDeviceIdReplies) {
        if (candidate.name == name) {
            row = &candidate;
        }
    }
    const std::unique_ptr<libusb::UsbBackend> backend = libusb::MakeLibusbBackend();
    const std::unique_ptr<libusb::UsbDeviceList> list = backend ? backend->ListDevices() : nullptr;
    if (row == nullptr || !list) {
        std::printf("no such case, or no USB\n");
        return 1;
    }
    const std::vector<libusb::PrinterSetMember> members = libusb::TakePrinterSnapshot(*list);
    if (members.size() != 1) {
        std::printf("%zu printers attached, not one\n", members.size());
        return 1;
    }
    const std::optional<std::string> ours = libusb::ReadDeviceIdSerial(*list, members[0].printing);
    const std::optional<libusb::UsbPrinterKey> key = cups::UsbPrinterOfUri(uri);
    const std::string_view text(uri);
    const std::optional<std::string> uriSerial =
        key && (text.find("?serial=") != std::string_view::npos ||
                text.find("&serial=") != std::string_view::npos)
            ? std::optional<std::string>(key->serial)
            : std::nullopt;
    const std::optional<std::string> wanted =
        members[0].serial.empty() ? std::nullopt : std::optional<std::string>(members[0].serial);
    const std::string port = ToUtf8(cups::PortOfDeviceUri(*backend, uri));
    std::printf("our reader %s, table %s, USB serial %s, CUPS URI serial %s, lookup port '%s'\n",
                Shown(ours).c_str(), Shown(row->serial).c_str(), Shown(members[0].serial).c_str(),
                Shown(uriSerial).c_str(), port.c_str());
    const bool same = ours == row->serial && uriSerial == wanted;
    return same && port == "USB001" ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--device-id-cases") {
        return ListCases();
    }
    if (argc == 4 && std::string_view(argv[1]) == "--device-id-check") {
        return CheckCase(argv[2], argv[3]);
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: usb-stand-queue-port URI | --device-id-cases |"
                     " --device-id-check NAME URI\n");
        return 2;
    }
    std::printf("%s\n", ToUtf8(cups::HostPortOfDeviceUri(argv[1])).c_str());
    return 0;
}
