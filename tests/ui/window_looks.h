#pragma once

// Every look of the main window, as the screenshot programs of each surface (tests/ui/qt,
// tests/ui/win32) drive it, so that the pictures of both show the same states with the same texts.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "device/discovery.h"
#include "ui/main_window.h"
#include "upgrade/run_status.h"

namespace fwup::testing {

// Two printers with the longest strings a printer gives the window.
inline DeviceList TwoPrinters() {
    const DeviceEntry first{.ModelName = L"Viruzu TQ3800HKR Series",
                            .PortName = L"USB001",
                            .InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0000000001",
                            .InterfacePath = L"path-1"};
    DeviceEntry second = first;
    second.ModelName = L"Viruzu TQ3800HKS Series";
    second.PortName = L"USB002";
    second.InstanceId = L"USB\\VID_5A7C&PID_B102\\SER0000000002";
    second.InterfacePath = L"path-2";
    return {first, second};
}

struct Look {
    const char* name;
    DeviceList printers;  // attached at idle
    // Runs on the window thread once the window is shown; none keeps the idle look.
    std::function<void(CVevaVoRirizevDlg&)> act;
};

// The run's printer and the transfer's figures, as a run shows them. One report: a percentage
// below a full bar that follows another within a frame is held back, and a surface without
// timers (Win32) shows it only with the next report.
inline void Transferring(CVevaVoRirizevDlg& dialog, int percent) {
    dialog.ShowRunPrinter(TwoPrinters()[1], "V2.10.8");
    dialog.ReportTransferBytes(static_cast<std::size_t>(percent) * 1'900'000, 190'000'000);
    dialog.ShowUpgradeStatus(STATUS_TRANSFER, percent);
}

inline std::vector<Look> Looks() {
    const auto ending = [](int status, std::optional<FollowState> follow = std::nullopt) {
        return [status, follow](CVevaVoRirizevDlg& dialog) {
            Transferring(dialog, 100);
            dialog.ShowUpgradeStatus(status, status == STATUS_SUCCEEDED ? 100 : 0);
            if (follow) {
                dialog.ShowFollow(*follow, 42'000,
                                  *follow == FollowState::kNotTaken ? "V2.10.8" : "V2.10.9");
            }
        };
    };
    return {
        {"idle", {}, {}},
        {"idle-one-printer", {TwoPrinters()[0]}, {}},
        {"idle-two-printers", TwoPrinters(), {}},
        {"transfer-40", TwoPrinters(), [](CVevaVoRirizevDlg& d) { Transferring(d, 40); }},
        {"success", TwoPrinters(), ending(STATUS_SUCCEEDED)},
        {"success-waiting", TwoPrinters(), ending(STATUS_SUCCEEDED, FollowState::kWaiting)},
        {"success-current", TwoPrinters(), ending(STATUS_SUCCEEDED, FollowState::kCurrent)},
        {"success-not-back", TwoPrinters(), ending(STATUS_SUCCEEDED, FollowState::kNotBack)},
        {"failure-not-taken", TwoPrinters(), ending(STATUS_SUCCEEDED, FollowState::kNotTaken)},
        {"failure", TwoPrinters(), ending(STATUS_FAILED)},
        {"not-ready", TwoPrinters(), ending(STATUS_NOT_READY)},
    };
}

}  // namespace fwup::testing
