#include "ui/message_dialog.h"

#include <memory>

#include "text/lang_text.h"
#include "text/languages.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"

namespace fwup {

CShowMsgDlg::CShowMsgDlg(DialogSurfaceFactory& factory, DialogSurface* owner)
    : factory_(factory), owner_(owner) {}

int CShowMsgDlg::DoModal() {
    m_nResult = DismissedResult();
    const auto run = [this] {
        const std::unique_ptr<DialogSurface> surface =
            factory_.CreateSurface(kMessageDialogTemplate, owner_);
        if (!surface) {
            return;
        }
        surface_ = surface.get();
        surface->SetListener(this);
        surface->RunModal();
        surface->SetListener(nullptr);
        surface_ = nullptr;
    };
    // The dialog lives on the window thread even when the worker asks: toolkits keep every
    // window on one thread, and the worker simply waits for the answer.
    if (owner_ == nullptr) {
        run();
    } else {
        owner_->RunOnWindowThread(run);
    }
    return m_nResult;
}

void CShowMsgDlg::OnInit() {
    surface_->SetText(kIdMessageText, m_strMsg);
    surface_->SetText(kIdOk, GetLangText(TXT_CONFIRM));
    surface_->SetText(kIdYes, GetLangText(TXT_YES));
    surface_->SetText(kIdNo, GetLangText(TXT_NO));
    surface_->Show(kIdOk, !IsQuestion());
    surface_->Show(kIdYes, IsQuestion());
    surface_->Show(kIdNo, IsQuestion());
    if (CurrentLanguage().rightToLeft) {
        surface_->SetDialogRtlReading(true);
        surface_->ChangeStyle(kIdMessageText, kStyleNone, kStyleRtlReading | kStyleAlignRight);
    }
    // The caption stays empty; a screen reader names the dialog by the program and reads the
    // message as its description when it opens. The picture says what the message says.
    surface_->SetAccessibleName(kIdWindow, GetLangText(TXT_TITLE));
    surface_->SetAccessibleDescription(kIdWindow, m_strMsg);
    surface_->SetAccessibleName(kIdUnaddressed, m_strMsg);
    // No comes before Yes in the tab order, so a question starts on the answer that risks
    // nothing, and it is the default button: Return gives No as Escape does. Every toolkit is
    // told so rather than left to its own choice.
    if (IsQuestion()) {
        surface_->ChangeStyle(kIdOk, kStyleDefaultButton, kStyleNone);
        surface_->ChangeStyle(kIdNo, kStyleNone, kStyleDefaultButton);
    }
    surface_->SetFocus(IsQuestion() ? kIdNo : kIdOk);
}

void CShowMsgDlg::OnCommand(int id) {
    // A hidden button's command (OK behind a question, from the Return key) is no answer.
    if (IsQuestion()) {
        if (id == kIdYes) {
            End(MSG_RESULT_YES);
        } else if (id == kIdNo) {
            End(MSG_RESULT_NO);
        }
    } else if (id == kIdOk) {
        End(MSG_RESULT_OK);
    }
}

void CShowMsgDlg::OnCancel() {
    End(DismissedResult());
}

bool CShowMsgDlg::OnCloseRequest() {
    End(DismissedResult());
    return true;
}

void CShowMsgDlg::End(int result) {
    m_nResult = result;
    surface_->EndDialog(result);
}

int ShowMsgDlg(const wchar_t* text, int mode) {
    CVevaVoRirizevDlg* const main = pMainDlg.load();
    if (main == nullptr) {
        return mode == MSG_MODE_YESNO ? MSG_RESULT_NO : MSG_RESULT_OK;
    }
    return main->ShowMessage(text, mode);
}

}  // namespace fwup
