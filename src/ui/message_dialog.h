#pragma once

#include <string>

#include "ui/dialog_surface.h"

namespace fwup {

// Button modes and results; the numbers are the platform's message-box constants.
inline constexpr int MSG_MODE_OK = 0;
inline constexpr int MSG_MODE_YESNO = 4;
inline constexpr int MSG_RESULT_OK = 1;
inline constexpr int MSG_RESULT_YES = 6;
inline constexpr int MSG_RESULT_NO = 7;

// The modal prompt (template 174): one message beside a warning picture, with a Confirm button
// or with Yes and No. A mode other than MSG_MODE_YESNO is an OK prompt.
class CShowMsgDlg final : public DialogListener {
  public:
    // `owner`, when given, is the window whose thread runs the dialog and which is disabled
    // meanwhile.
    CShowMsgDlg(DialogSurfaceFactory& factory, DialogSurface* owner);
    ~CShowMsgDlg() override = default;
    CShowMsgDlg(const CShowMsgDlg&) = delete;
    CShowMsgDlg& operator=(const CShowMsgDlg&) = delete;

    // Runs the dialog on the owner's window thread (callable from any thread) and returns its
    // result. A question that was dismissed, or never asked because the owner is gone, is
    // answered No: only an explicit Yes is consent.
    int DoModal();

    std::wstring m_strMsg;
    int m_nMode = MSG_MODE_OK;
    int m_nResult = MSG_RESULT_OK;

  private:
    void OnInit() override;
    void OnCommand(int id) override;
    void OnCancel() override;
    bool OnCloseRequest() override;
    void OnFocus() override {}

    bool IsQuestion() const { return m_nMode == MSG_MODE_YESNO; }
    int DismissedResult() const { return IsQuestion() ? MSG_RESULT_NO : MSG_RESULT_OK; }
    void End(int result);

    DialogSurfaceFactory& factory_;
    DialogSurface* owner_;
    DialogSurface* surface_ = nullptr;  // while the dialog runs
};

// Shows `text` (null: an empty message) in a message dialog owned by the main window (pMainDlg)
// and returns the result. Callable from the upgrade worker. Without a main window nothing is
// shown, and the answer is the one a dismissal gives.
int ShowMsgDlg(const wchar_t* text, int mode);

}  // namespace fwup
