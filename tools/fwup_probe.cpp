// Runs the printer checks of an upgrade (status, firmware version, security record) against the
// first printer that has a port name, and prints what each returned. With VIRUZU_FWUP_EMULATE
// naming a scenario file, the printers are simulated ones. Nothing is sent beyond the queries.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "base/wide_text.h"
#include "device/interface_source.h"
#include "device/port_name.h"
#include "device/sim/scenario_parser.h"
#include "device/sim/sim_interface_source.h"
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

// Lists the present interfaces and returns the first port name found.
std::optional<std::wstring> ListInterfaces() {
    std::unique_ptr<DeviceInterfaceSet> set = ActiveInterfaceSource().OpenSet();
    if (!set) {
        Print(L"The list of USB printing interfaces could not be made.");
        return std::nullopt;
    }
    std::optional<std::wstring> first;
    for (std::uint32_t index = 0; index < kMaxInterfacesWalked; ++index) {
        std::wstring instanceId;
        std::wstring path;
        if (set->DeviceInstanceId(index, instanceId) != SetLookup::kFound ||
            set->DeviceInterfacePath(index, path) != InterfaceLookup::kFound) {
            break;
        }
        const std::optional<std::wstring> port = GetUSBPortName(path);
        Print(L"  " + instanceId + L"  port " + port.value_or(L"(none)"));
        if (port && !first) {
            first = port;
        }
    }
    return first;
}

}  // namespace

int main() {
    std::unique_ptr<SimInterfaceSource> simulated;
    const char* scenarioFile = std::getenv("VIRUZU_FWUP_EMULATE");
    if (scenarioFile != nullptr && *scenarioFile != '\0') {
        Scenario scenario;
        std::string error;
        if (!LoadScenarioFile(scenarioFile, scenario, error)) {
            std::fprintf(stderr, "fwup-probe: %s\n", error.c_str());
            return 2;
        }
        simulated = std::make_unique<SimInterfaceSource>(std::move(scenario));
        SetActiveInterfaceSource(simulated.get());
        Print(L"Simulated printers from " + FromUtf8(scenarioFile) + L":");
    } else {
        Print(L"USB printing interfaces:");
    }

    const std::optional<std::wstring> port = ListInterfaces();
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
