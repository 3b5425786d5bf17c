#include "ui/window_front_end.h"

#include <cstdint>

#include "base/shown_text.h"
#include "log/tool_log.h"
#include "protocol/result_codes.h"
#include "text/lang_text.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_history.h"
#include "upgrade/run_record.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/verify_upgrade.h"

namespace fwup {

void WindowFrontEnd::OnRunBegins() {
    window_->LockWindow();
}

void WindowFrontEnd::ReturnToReady() {
    window_->UnlockWindow();
}

// The run's own list: the window's printer list is the user's, and the run does not touch it.
void WindowFrontEnd::ClearPrinters() {
    printers_.clear();
}

void WindowFrontEnd::AddPrinter(int, const DeviceEntry& entry) {
    printers_.push_back(entry);
}

int WindowFrontEnd::SelectedPrinter() {
    chosen_.reset();
    std::optional<std::size_t> found;
    if (pin_) {
        // Gone by the time Start was pressed, or back under another path: not connected, and
        // nothing reaches any other printer.
        found = FindPinnedPrinter(printers_, *pin_);
        if (!found) {
            WriteToolLog(L"The printer chosen (" + ShownText(pin_->InstanceId) +
                         L") is not attached any more");
        }
    } else if (printers_.size() == 1) {
        found = 0;
    } else if (printers_.size() > 1) {
        WriteToolLog(std::to_wstring(printers_.size()) +
                     L" printers are attached and none was chosen; none is upgraded");
    }
    if (!found) {
        return -1;
    }
    chosen_ = printers_[*found];
    if (window_ != nullptr) {
        window_->ShowRunPrinter(*chosen_, {});
    }
    return static_cast<int>(*found);
}

void WindowFrontEnd::OnVersionText(const std::string& text) {
    if (window_ != nullptr && chosen_) {
        window_->ShowRunPrinter(*chosen_, text);
    }
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
    window_->ReportTransferBytes(sent, length);
    window_->ShowUpgradeStatus(
        STATUS_TRANSFER,
        TransferPercent(static_cast<std::uint32_t>(sent), static_cast<std::uint32_t>(length)));
}

void MainWindowProgress::OnTransferProgress(std::size_t sent, std::size_t length) {
    if (CVevaVoRirizevDlg* window = pMainDlg.load()) {
        window->ReportTransferBytes(sent, length);
        window->ShowUpgradeStatus(
            STATUS_TRANSFER,
            TransferPercent(static_cast<std::uint32_t>(sent), static_cast<std::uint32_t>(length)));
    }
}

namespace {

// After the last byte the printer flashes and restarts on its own; the success look stays, and
// beneath it the window says what became of the printer, as the console program's --verify.
void FollowFlashedPrinter(CVevaVoRirizevDlg& window, const WindowFrontEnd& frontEnd,
                          RunRecord& record) {
    // Said at once: the first look at the printer may take a while.
    window.ShowFollow(FollowState::kWaiting, 0, {});
    std::int64_t shownSeconds = 0;
    const VerifyOutcome outcome = VerifyUpgrade(
        *frontEnd.Chosen(), frontEnd.HeldLock(), frontEnd.VersionVerdict(), kFollowTimeoutSeconds,
        [&window] { return window.Ended(); },
        [&](std::int64_t waitedMs) {
            if (waitedMs / 1000 != shownSeconds) {
                shownSeconds = waitedMs / 1000;
                window.ShowFollow(FollowState::kWaiting, waitedMs, {});
            }
        });
    if (outcome.interrupted) {
        // The window was closed: nothing more is asked of the printer, and nothing is known.
        WriteToolLog(L"Verify: the window was closed before the printer came back");
        return;
    }
    if (outcome.versionRead) {
        record.versionAfter = VersionVerdictWord(outcome.versionVerdict);
    }
    FollowState state = FollowState::kCurrent;
    if (outcome.ambiguous) {
        state = FollowState::kUnknown;
    } else if (!outcome.cameBack) {
        state = FollowState::kNotBack;
    } else if (outcome.versionVerdict != kVersionSame) {
        state = FollowState::kNotTaken;
    }
    if (state != FollowState::kCurrent) {
        record.result = "verify-failed";
    }
    window.ShowFollow(state, 0, outcome.versionText);
}

}  // namespace

int UpgradeThreadProc(CVevaVoRirizevDlg* window, AfterTransfer after) {
    std::optional<DeviceEntry> pin;
    if (window != nullptr) {
        pin = window->AskChosenPrinter();
    }
    return UpgradeThreadProc(window, std::move(pin), after);
}

int UpgradeThreadProc(CVevaVoRirizevDlg* window, std::optional<DeviceEntry> pin,
                      AfterTransfer after) {
    if (window == nullptr) {
        bUpgrading.store(false);
        return 0;
    }
    WindowFrontEnd frontEnd(window, std::move(pin));
    RunRecord record;
    StampRunRecord(record, "viruzu-fwup", "upgrade");
    if (RunUpgrade(frontEnd, &record) == UpgradeOutcome::kSucceeded && frontEnd.Chosen() &&
        after == AfterTransfer::kFollowPrinter) {
        FollowFlashedPrinter(*window, frontEnd, record);
    }
    RecordRun(record);
    return 0;
}

}  // namespace fwup
