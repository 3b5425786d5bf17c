#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/dialog_surface.h"
#include "ui/os_version_report.h"

namespace fwup {

// Controls the main window creates at initialisation. Each has an id of its own, unlike the
// platform's habit of 0xFFFF for every static text, so that surfaces can key controls by id; the
// tips box in particular no longer shares 1000 with the printer list.
inline constexpr int kIdProgress = 1001;
inline constexpr int kIdTips = 1002;
inline constexpr int kIdNotice = 1003;
inline constexpr int kIdStatus = 1004;
inline constexpr int kIdMessage = 1005;
inline constexpr int kIdResult = 1006;

// The supported series, the same in every language, shown after the tips.
inline constexpr std::wstring_view kSeriesList =
    L"Viruzu TQ3800HKS series\r\nViruzu TQ3800HKR series\r\n";

class CVevaVoRirizevDlg;

// What the main window needs from outside its surface, so that tests can stand in for it.
struct MainWindowHooks {
    // Sets UiLangId; the platform's choice unless replaced.
    std::function<void()> selectLanguage{};
    // The platform's version for the start-up report; none writes no report.
    OsVersionQuery queryOsVersion{};
    // The Start button's command; none does nothing. Runs on the window thread and must not wait
    // for the run it starts.
    std::function<void(CVevaVoRirizevDlg&)> onStart{};
};

// The hidden printer list of the main window. Every call is a request to the window thread, so
// the upgrade worker may make it.
class PrinterComboBox {
  public:
    PrinterComboBox(DialogSurface& surface, int id) : surface_(surface), id_(id) {}

    void ResetContent();
    void InsertString(int index, std::wstring_view text);
    void SetCurSel(int index);
    // -1 when nothing is selected, and when the window is gone.
    int GetCurSel();

  private:
    DialogSurface& surface_;
    int id_;
};

// The main window's logic (template 102): the idle look with tips, steps and the Start button,
// the transfer look, and the three final looks, over a dialog surface.
class CVevaVoRirizevDlg final : public DialogListener {
  public:
    // `factory` makes the message dialogs this window owns. Both must outlive the window.
    CVevaVoRirizevDlg(DialogSurface& surface, DialogSurfaceFactory& factory,
                      MainWindowHooks hooks = {});
    ~CVevaVoRirizevDlg() override;
    CVevaVoRirizevDlg(const CVevaVoRirizevDlg&) = delete;
    CVevaVoRirizevDlg& operator=(const CVevaVoRirizevDlg&) = delete;

    // Runs the window until it ends and returns its result (2 from Exit or cancel).
    int DoModal();

    // Callable from any thread; each is one synchronous request to the window thread, and does
    // nothing once the window is gone. Except STATUS_TRANSFER: the transfer reports after every
    // block, hundreds of times a run and, into a fast channel, far faster than a screen shows.
    // A percentage is passed on only when it is new, at most once every kTransferFrameMs (the
    // full bar at once), and without waiting for the window; while one is on its way a newer one
    // takes its place. Where the surface has timers, the first one also starts a timer with
    // which the window thread picks up new percentages itself, once a frame. Any later status
    // waits as the others do and comes after every percentage.
    void ShowUpgradeStatus(int code, int value);
    void SetCloseMenuItem(bool present);
    // Disables Start and Exit and removes the close item; the window then refuses to close until
    // UnlockWindow or a final status.
    void LockWindow();
    void UnlockWindow();
    // A message dialog owned by this window; see CShowMsgDlg::DoModal.
    int ShowMessage(const wchar_t* text, int mode);

    // Window thread only.
    bool OnInitDialog();
    void LayoutForLanguage();
    int ReportOsVersion();

    // Logic state. The controls themselves live in the surface, by id.
    FontDesc m_fontText;
    FontDesc m_fontResult;
    bool m_bCloseMenuPresent = false;
    std::wstring m_strCloseMenuText;
    StyleBits m_nMessageAlign = kStyleNone;
    PrinterComboBox m_cbPrinters;

  private:
    void OnInit() override { OnInitDialog(); }
    void OnCommand(int id) override;
    void OnCancel() override { EndIfAllowed(); }
    bool OnCloseRequest() override { return EndIfAllowed(); }
    void OnFocus() override;
    void OnTimer(int timerId) override;

    void CreateControls();
    void ReportTransfer(int percent);
    void ShowLatestTransfer();   // window thread
    void StopTransferPolling();  // window thread
    void ApplyStatus(int code, int value);
    void CentreMessage();
    void ApplyCloseMenuItem(bool present);
    void ShowExit(int captionId);
    void AnnounceEnding(int resultTextId, const std::wstring& message);
    bool EndIfAllowed();

    DialogSurface& surface_;
    DialogSurfaceFactory& factory_;
    MainWindowHooks hooks_;
    bool m_bLocked = false;  // window thread only
    int m_nFocusId = 0;      // where the focus goes back to; 0 for nowhere (window thread only)
    // The transfer's latest percentage, the one last passed on to the window and when (clock
    // milliseconds); kNoTransfer once another status followed. Whether a request to show the
    // latest is on its way to the window thread, and whether the window thread polls for it
    // instead; and (window thread only) the percentage the bar shows.
    static constexpr int kNoTransfer = INT_MIN;
    static constexpr int kTransferTimerId = 1;
    std::atomic<int> m_nTransferLatest{kNoTransfer};
    std::atomic<int> m_nTransferPassed{kNoTransfer};
    std::atomic<std::int64_t> m_nTransferPassedAtMs{0};
    std::atomic<bool> m_bTransferPolled{false};
    int m_nTransferShown = kNoTransfer;
    std::atomic<bool> m_bTransferPosted{false};
};

// How often the transfer's percentage may go to the window: about a frame of the screen.
inline constexpr std::int64_t kTransferFrameMs = 33;

// The main window while it runs, null otherwise. The transfer reports progress through it.
extern std::atomic<CVevaVoRirizevDlg*> pMainDlg;

}  // namespace fwup
