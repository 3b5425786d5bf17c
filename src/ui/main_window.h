#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/discovery.h"
#include "device/printer_arrivals.h"
#include "ui/dialog_surface.h"
#include "ui/os_version_report.h"
#include "ui/printer_list_view.h"

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
inline constexpr int kIdPrinterLine = 1007;  // idle: how many printers, above the printer list
inline constexpr int kIdRunPrinter = 1008;   // the printer of the run and its firmware from and to
inline constexpr int kIdFigures = 1009;      // the transfer's bytes, rate and time left
inline constexpr int kIdFollow = 1010;       // after the transfer: the wait for the printer

// The supported series, the same in every language, shown after the tips.
inline constexpr std::wstring_view kSeriesList =
    L"Viruzu TQ3800HKS series\r\nViruzu TQ3800HKR series\r\n";

class CVevaVoRirizevDlg;

// Where the wait for a flashed printer stands, as the window shows it beneath the success look.
enum class FollowState {
    kWaiting,   // not back yet; the value is the time waited
    kCurrent,   // back on the package's version
    kNotTaken,  // back on another version: the window turns to the failure look
    kNotBack,   // not back in time: it may still be flashing (neither success nor failure)
    kUnknown,   // two printers have its instance ID: which one it is cannot be told
};

// What the main window needs from outside its surface, so that tests can stand in for it.
struct MainWindowHooks {
    // Sets UiLangId; the platform's choice unless replaced.
    std::function<void()> selectLanguage{};
    // The platform's version for the start-up report; none writes no report.
    OsVersionQuery queryOsVersion{};
    // The Start button's command; none does nothing. Runs on the window thread and must not wait
    // for the run it starts.
    std::function<void(CVevaVoRirizevDlg&)> onStart{};
    // The printers attached now, for the idle look's list; discovery's list unless replaced.
    std::function<DeviceList()> listPrinters{};
    // What tells the idle look that printers came or went; the interface source's unless
    // replaced. May give null: the look then lists the printers again every
    // kRelistWithoutWatchMs.
    std::function<std::unique_ptr<ArrivalWatch>()> watchArrivals{};
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
    // The transfer's bytes so far, for its figures (rate, time left); the percentage still comes
    // through ShowUpgradeStatus. Never waits for the window thread.
    void ReportTransferBytes(std::size_t sent, std::size_t total);
    // The printer the run works on, and the version it read (empty before it is read); the
    // transfer and final looks name them.
    void ShowRunPrinter(const DeviceEntry& printer, const std::string& versionText);
    // The wait for the printer after the transfer: `waitedMs` for kWaiting, the version text it
    // came back on for kCurrent and kNotTaken.
    void ShowFollow(FollowState state, std::int64_t waitedMs, const std::string& versionText);
    // True once the window has ended: a wait on the run's behalf gives up.
    bool Ended() const { return m_bEnded.load(); }
    // The printer a run started now works on (window thread): the only one attached, the one the
    // user chose among several, or none.
    std::optional<DeviceEntry> ChosenPrinter() const { return m_printerList.Chosen(); }
    // The same from any thread: a synchronous request to the window thread (none once it is gone).
    std::optional<DeviceEntry> AskChosenPrinter();
    // Lists the attached printers again for the idle look (window thread); nothing while a run
    // is active or after the idle look has gone.
    void RelistPrinters();

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
    void OnSelectionChange(int id) override;

    void CreateControls();
    void CreatePrinterControls(StyleBits readingAligned, StyleBits reading);
    void StartWatchingPrinters();
    void OnArrivalTimer();
    void UpdateStartButton();
    void ShowFigures(bool force);  // window thread
    void ApplyFollow(FollowState state, std::int64_t waitedMs, const std::wstring& versionText);
    void ShowRunPrinterIn(const PixelRect& rect);
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
    bool m_bLocked = false;           // window thread only
    bool m_bIdle = true;              // the idle look is shown (window thread only)
    bool m_bRelistDue = false;        // a run ended: list the printers again (window thread only)
    bool m_bRunPrinterShown = false;  // window thread only
    std::atomic<bool> m_bEnded{false};
    PrinterListView m_printerList;
    std::unique_ptr<ArrivalWatch> m_arrivals;  // null: list again every kRelistWithoutWatchMs
    std::uint64_t m_nArrivalsSeen = 0;
    std::int64_t m_nListedAtMs = 0;
    // The transfer's figures: bytes sent and the package's size (worker), when the first bytes
    // were reported (0 for not yet), and when the figures were last shown (window thread).
    std::atomic<std::size_t> m_nTransferSent{0};
    std::atomic<std::size_t> m_nTransferTotal{0};
    std::atomic<std::int64_t> m_nTransferStartMs{0};
    std::int64_t m_nFiguresShownAtMs = 0;
    int m_nFocusId = 0;  // where the focus goes back to; 0 for nowhere (window thread only)
    // The transfer's latest percentage, the one last passed on to the window and when (clock
    // milliseconds); kNoTransfer once another status followed. Whether a request to show the
    // latest is on its way to the window thread, and whether the window thread polls for it
    // instead; and (window thread only) the percentage the bar shows.
    static constexpr int kNoTransfer = INT_MIN;
    static constexpr int kTransferTimerId = 1;
    static constexpr int kArrivalTimerId = 2;
    std::atomic<int> m_nTransferLatest{kNoTransfer};
    std::atomic<int> m_nTransferPassed{kNoTransfer};
    std::atomic<std::int64_t> m_nTransferPassedAtMs{0};
    std::atomic<bool> m_bTransferPolled{false};
    int m_nTransferShown = kNoTransfer;
    std::atomic<bool> m_bTransferPosted{false};
};

// How often the transfer's percentage may go to the window: about a frame of the screen.
inline constexpr std::int64_t kTransferFrameMs = 33;
// How often the transfer's figures change on the screen: a few times a second is all one reads.
inline constexpr std::int64_t kFiguresIntervalMs = 250;
// How often the idle look asks the arrival watch whether printers came or went.
inline constexpr int kArrivalPollMs = 500;

// The main window while it runs, null otherwise. The transfer reports progress through it.
extern std::atomic<CVevaVoRirizevDlg*> pMainDlg;

}  // namespace fwup
