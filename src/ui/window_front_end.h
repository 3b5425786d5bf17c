#pragma once

#include "upgrade/upgrade_front_end.h"

namespace fwup {

class CVevaVoRirizevDlg;

// The main window as the upgrade run's front end: the hidden printer list, the status looks,
// and message dialogs owned by the main window (pMainDlg).
class WindowFrontEnd final : public UpgradeFrontEnd {
  public:
    explicit WindowFrontEnd(CVevaVoRirizevDlg* window) : window_(window) {}

    void OnRunBegins() override;
    void ReturnToReady() override;
    void ClearPrinters() override;
    void AddPrinter(int index, const DeviceEntry& entry) override;
    void SelectPrinter(int index) override;
    int SelectedPrinter() override;
    void ShowStatus(int code, int value) override;
    void ShowMessage(int textId) override;
    bool AskYesNo(int textId) override;
    void OnTransferProgress(std::size_t sent, std::size_t length) override;

  private:
    CVevaVoRirizevDlg* window_;  // may be null: then only the printer list is kept
};

// Window progress for a transfer started outside a run: STATUS_TRANSFER with TransferPercent to
// the main window (pMainDlg) when there is one.
class MainWindowProgress final : public TransferObserver {
  public:
    void OnTransferProgress(std::size_t sent, std::size_t length) override;
};

// One upgrade run for the main window, on the calling thread (see RunUpgrade). Every window
// operation is a request to the window thread, so this runs on a worker while the window keeps
// pumping; tests run it synchronously against a recording surface. Every run ends with its line
// in the run history (run_history.h). Does nothing for a null window. Always returns 0.
int UpgradeThreadProc(CVevaVoRirizevDlg* window);

// Rebuilds theDeviceList and the main window's (pMainDlg) printer list, as a run does.
int RefreshPrinterList();

}  // namespace fwup
