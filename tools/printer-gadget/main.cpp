// printer-gadget: one printer of a scenario file on the device side of a USB device controller
// (dummy_hcd in the USB stand), so the host side of the same kernel sees a real USB printer.
//
//   printer-gadget --scenario FILE [--printer N] --udc dummy_udc.0 --report FILE
//                  [--name NAME] [--stall-at-byte N] [--device-serial TEXT]
//                  [--usb-serial TEXT] [--device-id-hex HEX]
//
// --device-serial gives the IEEE 1284 device ID's SN: field, --usb-serial the USB serial-number
// string (empty: the device has none); both default to the serial of the printer's instanceId.
// --device-id-hex gives the whole GET_DEVICE_ID reply, length bytes included, in hex digits.
// Runs until SIGTERM or SIGINT, or until the scenario unplugs the printer. Needs root, configfs
// at /sys/kernel/config and the usb_f_fs module.

#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "base/hex_digit.h"
#include "configfs_gadget.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_printer.h"
#include "printer_function.h"
#include "usb_identity.h"

namespace {

using namespace fwup;
using namespace fwup::gadget;

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested = true;
}

int Usage(const char* why) {
    std::fprintf(stderr,
                 "printer-gadget: %s\nusage: printer-gadget --scenario FILE [--printer N] "
                 "--udc UDC --report FILE [--name NAME] [--stall-at-byte N] "
                 "[--device-serial TEXT] [--usb-serial TEXT] [--device-id-hex HEX]\n",
                 why);
    return 2;
}

std::optional<std::uint64_t> Number(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text[0] == '-') {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> HexBytes(const std::string& hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigitValue(hex[i]);
        const int low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) {
        options[argv[i]] = argv[i + 1];
    }
    if (argc % 2 == 0) {
        return Usage("every option takes a value");
    }
    for (const char* required : {"--scenario", "--udc", "--report"}) {
        if (!options.count(required)) {
            return Usage((std::string(required) + " is missing").c_str());
        }
    }
    const std::optional<std::uint64_t> index =
        Number(options.count("--printer") ? options["--printer"] : "0");
    BusFaults faults;
    if (options.count("--stall-at-byte")) {
        faults.stallAtByte = Number(options["--stall-at-byte"]);
        if (!faults.stallAtByte) {
            return Usage("--stall-at-byte takes a byte offset");
        }
    }

    Scenario scenario;
    std::string error;
    if (!LoadScenarioFile(options["--scenario"], scenario, error)) {
        std::fprintf(stderr, "printer-gadget: %s\n", error.c_str());
        return 2;
    }
    if (!index || *index >= scenario.printers.size()) {
        return Usage("--printer names no printer of the scenario");
    }
    const PrinterScenario& chosen = scenario.printers[*index];
    std::optional<UsbIdentity> identity = IdentityFromInstanceId(chosen.instanceId);
    if (!identity) {
        return Usage("the printer's instanceId gives no vendor, product and serial");
    }
    if (options.count("--device-serial")) {
        identity->deviceSerial = options["--device-serial"];
    }
    if (options.count("--usb-serial")) {
        identity->serial = options["--usb-serial"];
    }
    if (options.count("--device-id-hex")) {
        identity->deviceIdReply = HexBytes(options["--device-id-hex"]);
        if (!identity->deviceIdReply) {
            return Usage("--device-id-hex takes an even number of hex digits");
        }
    }

    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    const std::string name =
        options.count("--name") ? options["--name"] : "printer" + std::to_string(*index);
    SimPrinter printer(chosen);
    ConfigfsGadget gadget(name, *identity);
    if (!gadget.ok()) {
        std::fprintf(stderr, "printer-gadget: %s\n", gadget.error().c_str());
        return 1;
    }
    PrinterFunction function(printer, *identity, gadget, faults, options["--report"]);
    if (!function.Open(error)) {
        std::fprintf(stderr, "printer-gadget: %s\n", error.c_str());
        return 1;
    }
    if (!gadget.Bind(options["--udc"])) {
        std::fprintf(stderr, "printer-gadget: cannot bind to %s\n", options["--udc"].c_str());
        return 1;
    }
    function.Serve(stopRequested);
    return 0;
}
