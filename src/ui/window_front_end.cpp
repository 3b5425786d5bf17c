#include "ui/window_front_end.h"

#include <cstdint>

#include "text/lang_text.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_history.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_procedure.h"

namespace fwup {

void WindowFrontEnd::OnRunBegins() {
    window_->LockWindow();
}

void WindowFrontEnd::ReturnToReady() {
    window_->UnlockWindow();
}

void WindowFrontEnd::ClearPrinters() {
    if (window_ != nullptr) {
        window_->m_cbPrinters.ResetContent();
    }
}

void WindowFrontEnd::AddPrinter(int index, const DeviceEntry& entry) {
    if (window_ != nullptr) {
        window_->m_cbPrinters.InsertString(index, entry.ModelName);
    }
}

void WindowFrontEnd::SelectPrinter(int index) {
    if (window_ != nullptr) {
        window_->m_cbPrinters.SetCurSel(index);
    }
}

int WindowFrontEnd::SelectedPrinter() {
    return window_ != nullptr ? window_->m_cbPrinters.GetCurSel() : -1;
}

void WindowFrontEnd::ShowStatus(int code, int value) {
    window_->ShowUpgradeStatus(code, value);
}

void WindowFrontEnd::ShowMessage(int textId) {
    ShowMsgDlg(GetLangText(textId).c_str(), MSG_MODE_OK);
}

bool WindowFrontEnd::AskYesNo(int textId) {
    return ShowMsgDlg(GetLangText(textId).c_str(), MSG_MODE_YESNO) != MSG_RESULT_NO;
}

void WindowFrontEnd::OnTransferProgress(std::size_t sent, std::size_t length) {
    window_->ShowUpgradeStatus(
        STATUS_TRANSFER,
        TransferPercent(static_cast<std::uint32_t>(sent), static_cast<std::uint32_t>(length)));
}

void MainWindowProgress::OnTransferProgress(std::size_t sent, std::size_t length) {
    if (CVevaVoRirizevDlg* window = pMainDlg.load()) {
        window->ShowUpgradeStatus(
            STATUS_TRANSFER,
            TransferPercent(static_cast<std::uint32_t>(sent), static_cast<std::uint32_t>(length)));
    }
}

int UpgradeThreadProc(CVevaVoRirizevDlg* window) {
    if (window == nullptr) {
        bUpgrading.store(false);
        return 0;
    }
    WindowFrontEnd frontEnd(window);
    RunRecord record;
    StampRunRecord(record, "viruzu-fwup", "upgrade");
    RunUpgrade(frontEnd, &record);
    RecordRun(record);
    return 0;
}

int RefreshPrinterList() {
    // Loaded once: the window may go away during the run, and the printer list calls already do
    // nothing once it has.
    WindowFrontEnd frontEnd(pMainDlg.load());
    return RefreshPrinterList(frontEnd);
}

}  // namespace fwup
