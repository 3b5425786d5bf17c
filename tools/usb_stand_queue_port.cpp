// usb-stand-queue-port URI: prints the port name the print-queue lookup gives a CUPS device URI
// (nothing when none). The USB stand compares it with what CUPS's own usb backend lists; the
// console program has no command that takes a URI.

#include <cstdio>

#include "base/wide_text.h"
#include "upgrade/cups/cups_queues.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: usb-stand-queue-port URI\n");
        return 2;
    }
    std::printf("%s\n", fwup::ToUtf8(fwup::cups::HostPortOfDeviceUri(argv[1])).c_str());
    return 0;
}
