// usb-stand-upgrade: the upgrade steps without a window (status, version, security record,
// firmware), for the USB stand until the console program takes its place. Takes the first
// listed printer; a printer on the package's version is sent nothing unless --yes is given.
// Prints one word, the result: succeeded, not-connected, not-ready, declined, printer-lost or
// failed; exits 0 only for succeeded.
//
//   usb-stand-upgrade --port-of-uri URI   prints the port name the print-queue lookup gives a
//                                          CUPS device URI (nothing when none), and sends nothing

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/wide_text.h"
#include "device/discovery.h"
#include "device/interface_source.h"
#include "device/interface_source_factory.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "upgrade/burn_step.h"
#include "upgrade/cups/cups_queues.h"
#include "upgrade/upgrade_procedure.h"

namespace {

using namespace fwup;

int Result(const char* word) {
    std::printf("%s\n", word);
    SetActiveInterfaceSource(nullptr);
    return std::strcmp(word, "succeeded") == 0 ? 0 : 1;
}

// The same-version question, held open until a line arrives on standard input.
bool AnsweredYes() {
    std::printf("question: the printer runs the package's version; send it again?\n");
    std::fflush(stdout);
    char line[16] = {};
    return std::fgets(line, sizeof line, stdin) && std::strncmp(line, "yes", 3) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--port-of-uri") == 0) {
        std::printf("%s\n", ToUtf8(cups::HostPortOfDeviceUri(argv[2])).c_str());
        return 0;
    }
    const bool yes = argc > 1 && std::strcmp(argv[1], "--yes") == 0;
    const bool ask = argc > 1 && std::strcmp(argv[1], "--ask") == 0;
    bool emulated = false;
    std::string error;
    const std::unique_ptr<InterfaceSource> source = MakeInterfaceSource(emulated, error);
    if (!source) {
        std::fprintf(stderr, "usb-stand-upgrade: %s\n", error.c_str());
        return 2;
    }
    SetActiveInterfaceSource(source.get());
    DeviceList printers;
    GetSystemDeviceList(printers);
    if (printers.empty() || printers.front().PortName.empty()) {
        return Result("not-connected");
    }
    const std::wstring port = printers.front().PortName;
    if (!IsReadyForUpgrade(CheckPrinterStatus(port))) {
        return Result("not-ready");
    }
    const int version = QueryFwVersion(port);
    if (version < 0) {
        return Result("failed");
    }
    if (version == kVersionSame && !yes && !(ask && AnsweredYes())) {
        return Result("declined");
    }
    const int security = QuerySecurity(port);
    if (security == kErrOpenChannel) {
        return Result("printer-lost");
    }
    return Result(BurnFW(port) == kResultOk ? "succeeded" : "failed");
}
