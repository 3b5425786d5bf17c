#pragma once

#include <memory>
#include <optional>
#include <string>

#include "upgrade/upgrade_front_end.h"

namespace fwup {

class CVevaVoRirizevDlg;

// The main window as the upgrade run's front end: the status looks, the printer the run works
// on, and message dialogs owned by the main window (pMainDlg). The run works on `pin` (the
// printer chosen at idle) by its whole identity, or, without one, on the only printer attached;
// of several, it takes none.
class WindowFrontEnd final : public UpgradeFrontEnd {
  public:
    // Without a pin no optional is moved: MinGW's GCC 12 takes the move of an empty one for a
    // read of an uninitialised DeviceEntry (-Wmaybe-uninitialized) and -Werror stops the build.
    explicit WindowFrontEnd(CVevaVoRirizevDlg* window) : window_(window) {}
    WindowFrontEnd(CVevaVoRirizevDlg* window, std::optional<DeviceEntry> pin)
        : window_(window), pin_(std::move(pin)) {}

    void OnRunBegins() override;
    void ReturnToReady() override;
    void ClearPrinters() override;
    void AddPrinter(int index, const DeviceEntry& entry) override;
    void SelectPrinter(int) override {}
    int SelectedPrinter() override;
    void ShowStatus(int code, int value) override;
    void ShowMessage(int textId) override;
    bool AskYesNo(int textId) override;
    void OnTransferProgress(std::size_t sent, std::size_t length) override;
    void OnVersionVerdict(int verdict) override { versionVerdict_ = verdict; }
    void OnVersionText(const std::string& text) override;
    void KeepPrinterLock(std::unique_ptr<PrinterLock> lock) override { lock_ = std::move(lock); }

    // The printer the run worked on, once SelectedPrinter found it.
    const std::optional<DeviceEntry>& Chosen() const { return chosen_; }
    std::optional<int> VersionVerdict() const { return versionVerdict_; }
    const PrinterLock* HeldLock() const { return lock_.get(); }

  private:
    CVevaVoRirizevDlg* window_;  // may be null: then nothing is shown
    std::optional<DeviceEntry> pin_;
    DeviceList printers_;
    std::optional<DeviceEntry> chosen_;
    std::optional<int> versionVerdict_;
    std::unique_ptr<PrinterLock> lock_;
};

// Window progress for a transfer started outside a run: STATUS_TRANSFER with TransferPercent to
// the main window (pMainDlg) when there is one.
class MainWindowProgress final : public TransferObserver {
  public:
    void OnTransferProgress(std::size_t sent, std::size_t length) override;
};

// One upgrade run for the main window, on the calling thread (see RunUpgrade), on `pin` (see
// WindowFrontEnd); without one, on the printer the window has chosen now. After a transfer the
// window follows the printer until it runs the new firmware, came back on another, did not come
// back in kFollowTimeoutSeconds, or the window ended. Every window operation is a request to the
// window thread, so this runs on a worker while the window keeps pumping; tests run it
// synchronously against a recording surface. Every run ends with its line in the run history
// (run_history.h). Does nothing for a null window. Always returns 0.
// kEndRun leaves the printer once the run has ended, for those who look at the run alone.
enum class AfterTransfer { kFollowPrinter, kEndRun };
int UpgradeThreadProc(CVevaVoRirizevDlg* window,
                      AfterTransfer after = AfterTransfer::kFollowPrinter);
int UpgradeThreadProc(CVevaVoRirizevDlg* window, std::optional<DeviceEntry> pin,
                      AfterTransfer after = AfterTransfer::kFollowPrinter);

}  // namespace fwup
