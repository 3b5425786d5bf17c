// Runs the printer checks of an upgrade (status, firmware version, security record) against the
// first printer that has a port name, and prints what each returned. With VIRUZU_FWUP_EMULATE
// naming a scenario file, the printers are simulated ones. Nothing is sent beyond the queries.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/wide_text.h"
#include "device/discovery.h"
#include "device/interface_source.h"
#include "device/interface_source_factory.h"
#include "device/usb_open.h"
#include "log/tool_log.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace {

using namespace fwup;

void Print(const std::wstring& text) {
    const std::string bytes = ToUtf8(text + L"\n");
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

const wchar_t* VersionVerdict(int result) {
    switch (result) {
        case kVersionSame:
            return L"same as the package's";
        case kVersionLower:
            return L"older than the package's: the upgrade is due";
        case kVersionHigher:
            return L"newer than the package's";
        default:
            return L"not read";
    }
}

const wchar_t* SecurityVerdict(int result) {
    switch (result) {
        case kSecurityCrcValid:
            return L"valid";
        case kSecurityCrcInvalid:
            return L"check value wrong";
        case kSecurityNoReply:
            return L"no reply";
        case kErrOpenChannel:
            return L"channel could not be opened";
        default:
            return L"unexpected result";
    }
}

// Lists the supported printers present now and returns the first one's port name.
std::optional<std::wstring> ListPrinters() {
    DeviceList printers;
    const int result = GetSystemDeviceList(printers);
    for (const DeviceEntry& printer : printers) {
        Print(L"  " + printer.ModelName + L"  port " +
              (printer.PortName.empty() ? std::wstring(L"(none)") : printer.PortName));
    }
    if (result != kDiscoveryOk) {
        Print(L"The printer list is incomplete: discovery failed with " + std::to_wstring(result));
    }
    for (const DeviceEntry& printer : printers) {
        if (!printer.PortName.empty()) {
            return printer.PortName;
        }
    }
    return std::nullopt;
}

}  // namespace

int main() {
    std::optional<std::filesystem::path> scenarioFile;
    std::string error;
    const std::unique_ptr<InterfaceSource> source = MakeInterfaceSource(scenarioFile, error);
    if (!source) {
        std::fprintf(stderr, "fwup-probe: %s\n", error.c_str());
        return 2;
    }
    SetActiveInterfaceSource(source.get());
    Print(scenarioFile ? L"Simulated printers (VIRUZU_FWUP_EMULATE):" : L"Supported USB printers:");

    const std::optional<std::wstring> port = ListPrinters();
    if (!port) {
        Print(L"No printer with a port name is connected.");
        return 1;
    }
    Print(L"Checking the printer on " + *port + L".");

    UsbChannel channel = OpenUSBDevice(*port);
    if (!channel) {
        Print(L"The printer's channel could not be opened.");
        return 1;
    }
    std::int8_t status = 0;
    const int statusResult = GetPrinterStatus(channel.get(), status);
    CloseUSBDevice(channel);
    if (statusResult == kResultOk) {
        Print(L"Status byte: " + std::to_wstring(status));
    } else {
        Print(L"Status query failed: " + std::to_wstring(statusResult));
    }

    const int versionResult = QueryFwVersion(*port);
    Print(L"Firmware version: " + std::wstring(VersionVerdict(versionResult)) + L" (" +
          std::to_wstring(versionResult) + L")");

    const int securityResult = QuerySecurity(*port);
    Print(L"Security record: " + std::wstring(SecurityVerdict(securityResult)) + L" (" +
          std::to_wstring(securityResult) + L")" +
          (securityResult == kSecurityCrcValid
               ? (bFwEncrypted ? L", encrypted firmware expected" : L", plain firmware expected")
               : L""));
    Print(L"Details are in " + GetPathInModuleDir(L"Tool.log"));
    SetActiveInterfaceSource(nullptr);
    return statusResult == kResultOk && versionResult > 0 && securityResult == kSecurityCrcValid
               ? 0
               : 1;
}
