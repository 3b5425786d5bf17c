#include "ui/main_window.h"

#include <algorithm>
#include <utility>

#include "base/clock.h"
#include "base/shown_text.h"
#include "base/wide_text.h"
#include "device/interface_source.h"
#include "device/simulated_printers.h"
#include "protocol/printer_queries.h"
#include "text/lang_text.h"
#include "text/languages.h"
#include "ui/dialog_templates.h"
#include "ui/message_dialog.h"
#include "upgrade/run_status.h"
#include "upgrade/transfer_figures.h"

namespace fwup {

std::atomic<CVevaVoRirizevDlg*> pMainDlg{nullptr};

namespace {

constexpr int kProgressLowest = 1;
constexpr int kProgressHighest = 100;

// Where the final message area goes when it is centred for a result with a picture.
constexpr PixelRect kCentredMessageRect{30, 180, 410, 100};

// The printer line (two lines of room) and the printer list, below the steps and above Start;
// while no printer is attached, the line has the list's room too.
constexpr PixelRect kPrinterLineRect{30, 364, 400, 36};
constexpr PixelRect kPrinterListRect{30, 402, 400, 26};
constexpr PixelRect kPrinterLineAloneRect{30, 364, 400, 64};
// The printer of the run (up to three lines): below the bar while it fills, below the message in
// a final look, and the wait for the printer (up to four lines) beneath it.
constexpr PixelRect kRunPrinterTransferRect{10, 100, 450, 52};
// Two lines of room: at the start of a transfer the rate has as many digits as the bytes.
constexpr PixelRect kFiguresRect{10, 156, 450, 42};
constexpr PixelRect kRunPrinterFinalRect{10, 285, 450, 52};
constexpr PixelRect kFollowRect{10, 340, 450, 72};

// A text of several lines as a screen reader speaks it: one line.
std::wstring OneLine(std::wstring text) {
    for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos;
         at = text.find(L"\r\n", at)) {
        text.replace(at, 2, L" ");
    }
    return text;
}

DeviceList ListAttachedPrinters() {
    DeviceList printers;
    if (GetSystemDeviceList(printers) < 0) {
        // A listing that failed half-way is no list of what is attached.
        printers.clear();
    }
    return printers;
}

PixelRect AsPixelRect(const WindowPlace& place) {
    return {place.x, place.y, place.width, place.height};
}

// The first line of a text without its closing colon: "Tips:\r\n1. ..." names its box "Tips".
std::wstring HeadingOf(std::wstring_view text) {
    std::wstring_view heading = text.substr(0, text.find_first_of(L"\r\n"));
    while (!heading.empty() && (heading.back() == L':' || heading.back() == L'\uFF1A' ||
                                heading.back() == L' ' || heading.back() == L'\u00A0')) {
        heading.remove_suffix(1);
    }
    return std::wstring(heading);
}

}  // namespace

void PrinterComboBox::ResetContent() {
    surface_.RunOnWindowThread([this] { surface_.ResetItems(id_); });
}

void PrinterComboBox::InsertString(int index, std::wstring_view text) {
    surface_.RunOnWindowThread([&] { surface_.InsertItem(id_, index, text); });
}

void PrinterComboBox::SetCurSel(int index) {
    surface_.RunOnWindowThread([&] { surface_.SetCurSel(id_, index); });
}

int PrinterComboBox::GetCurSel() {
    int selection = -1;
    surface_.RunOnWindowThread([&] { selection = surface_.GetCurSel(id_); });
    return selection;
}

CVevaVoRirizevDlg::CVevaVoRirizevDlg(DialogSurface& surface, DialogSurfaceFactory& factory,
                                     MainWindowHooks hooks)
    : m_cbPrinters(surface, kIdPrinters),
      surface_(surface),
      factory_(factory),
      hooks_(std::move(hooks)),
      m_printerList(surface, kIdPrinterLine, kIdPrinters,
                    {.withList = kPrinterLineRect, .alone = kPrinterLineAloneRect}) {
    if (!hooks_.selectLanguage) {
        hooks_.selectLanguage = SelectUiLanguage;
    }
    if (!hooks_.listPrinters) {
        hooks_.listPrinters = ListAttachedPrinters;
    }
    if (!hooks_.watchArrivals) {
        hooks_.watchArrivals = [] { return ActiveInterfaceSource().WatchArrivals(); };
    }
    surface_.SetListener(this);
}

CVevaVoRirizevDlg::~CVevaVoRirizevDlg() {
    surface_.SetListener(nullptr);
    CVevaVoRirizevDlg* self = this;
    pMainDlg.compare_exchange_strong(self, nullptr);
}

int CVevaVoRirizevDlg::DoModal() {
    const int result = surface_.RunModal();
    m_bEnded.store(true);
    m_arrivals.reset();
    // The window is gone: nobody may reach it through the process-wide pointer any more.
    CVevaVoRirizevDlg* self = this;
    pMainDlg.compare_exchange_strong(self, nullptr);
    return result;
}

bool CVevaVoRirizevDlg::OnInitDialog() {
    surface_.SetIcon(kIdiApp);
    pMainDlg.store(this);

    hooks_.selectLanguage();
    const bool rightToLeft = CurrentLanguage().rightToLeft;
    if (rightToLeft) {
        surface_.SetDialogRtlReading(true);
    }
    m_nMessageAlign = rightToLeft ? kStyleAlignRight : kStyleNone;

    ReportOsVersion();

    m_strCloseMenuText = surface_.CloseMenuItemCaption();
    if (m_strCloseMenuText.empty()) {
        m_strCloseMenuText = GetLangText(TXT_CLOSE_ITEM);
    }

    CreateControls();
    LayoutForLanguage();
    StartWatchingPrinters();
    return true;
}

void CVevaVoRirizevDlg::CreateControls() {
    const Language& language = CurrentLanguage();
    std::wstring title = GetLangText(TXT_TITLE);
    if (SimulatedPrintersScenario()) {
        title += language.simulatedPrintersTitleSuffix;
    }
    surface_.SetTitle(title);
    surface_.SetText(kIdStart, GetLangText(TXT_START));
    surface_.SetText(kIdExit, GetLangText(TXT_EXIT));
    // The flag follows the menu as it is, so that a toolkit without a close item is never asked
    // to remove one.
    m_bCloseMenuPresent = surface_.HasCloseMenuItem();

    const bool rightToLeft = language.rightToLeft;
    const StyleBits reading = rightToLeft ? kStyleRtlReading : kStyleNone;
    const StyleBits readingAligned =
        rightToLeft ? (kStyleRtlReading | kStyleAlignRight) : kStyleNone;
    const std::wstring face = GetLangText(TXT_FONT_FACE);

    m_fontText = FontDesc{.face = face, .pointTenths = 100};

    surface_.CreateControl({.id = kIdTips,
                            .kind = ControlKind::kEdit,
                            .rect = PixelRect::FromEdges(10, 20, 460, 170),
                            .style = kStyleBorder | kStyleVScroll | kStyleTabStop |
                                     kStyleMultiLine | kStyleAutoVScroll | kStyleReadOnly |
                                     kStyleWantReturn | readingAligned,
                            .font = m_fontText,
                            .defaultColours = true});
    surface_.SetText(kIdTips, GetLangText(TXT_TIPS) + std::wstring(kSeriesList));
    // An edit box shows its contents; a screen reader needs a name for the box as well.
    surface_.SetAccessibleName(kIdTips, HeadingOf(GetLangText(TXT_TIPS)));

    surface_.CreateControl({.id = kIdNotice,
                            .kind = ControlKind::kStaticText,
                            .rect = PixelRect::FromEdges(10, 150, 460, 400),
                            .style = readingAligned,
                            .font = m_fontText});
    surface_.SetText(kIdNotice, GetLangText(TXT_STEPS));

    surface_.CreateControl({.id = kIdStatus,
                            .kind = ControlKind::kStaticText,
                            .rect = PixelRect::FromEdges(10, 30, 460, 60),
                            .style = kStyleAlignCenter | reading,
                            .visible = false,
                            .font = m_fontText});

    // Mirrored for a right-to-left language so that the bar grows from the right.
    surface_.CreateControl({.id = kIdProgress,
                            .kind = ControlKind::kProgressBar,
                            .rect = PixelRect::FromEdges(10, 60, 460, 85),
                            .style = kStyleSmooth | (rightToLeft ? kStyleLayoutRtl : kStyleNone),
                            .visible = false});
    surface_.SetProgressRange(kIdProgress, kProgressLowest, kProgressHighest);
    // Named by the status line above it, as a screen reader cannot see that the two belong.
    surface_.SetAccessibleName(kIdProgress, GetLangText(TXT_TRANSMITTING));

    surface_.CreateControl({.id = kIdMessage,
                            .kind = ControlKind::kStaticText,
                            .rect = PixelRect::FromEdges(10, 110, 460, 230),
                            .style = m_nMessageAlign | reading,
                            .visible = false,
                            .font = m_fontText});

    m_fontResult =
        FontDesc{.face = face, .height = 15, .weight = 700, .family = FontDesc::Family::kSwiss};
    surface_.CreateControl({.id = kIdResult,
                            .kind = ControlKind::kStaticText,
                            .rect = PixelRect::FromEdges(10, 120, 460, 150),
                            .style = kStyleAlignCenter | reading,
                            .visible = false,
                            .font = m_fontResult});

    CreatePrinterControls(readingAligned, reading);

    surface_.Show(kIdExit, false);
    // The keyboard starts where the window's one action is: Start, or the list while several
    // printers wait for a choice.
    surface_.SetFocus(m_nFocusId);
}

void CVevaVoRirizevDlg::CreatePrinterControls(StyleBits readingAligned, StyleBits reading) {
    surface_.CreateControl({.id = kIdPrinterLine,
                            .kind = ControlKind::kStaticText,
                            .rect = kPrinterLineRect,
                            .style = readingAligned,
                            .font = m_fontText});
    surface_.Move(kIdPrinters, kPrinterListRect);
    surface_.ChangeStyle(kIdPrinters, kStyleSorted, kStyleTabStop | readingAligned);
    surface_.SetFont(kIdPrinters, m_fontText);
    // The tab order runs tips, printer list, Start.
    surface_.PlaceInFocusOrderAfter(kIdPrinters, kIdTips);
    // The run's printer, the transfer's figures and the wait after it: centred lines, shown by
    // the looks that have them.
    for (const auto& [id, rect] :
         {std::pair{kIdRunPrinter, kRunPrinterTransferRect}, std::pair{kIdFigures, kFiguresRect},
          std::pair{kIdFollow, kFollowRect}}) {
        surface_.CreateControl({.id = id,
                                .kind = ControlKind::kStaticText,
                                .rect = rect,
                                .style = kStyleAlignCenter | reading,
                                .visible = false,
                                .font = m_fontText});
    }
    m_nListedAtMs = ActiveClock().MonotonicMs();
    m_printerList.Show(hooks_.listPrinters());
    UpdateStartButton();
}

void CVevaVoRirizevDlg::StartWatchingPrinters() {
    m_arrivals = hooks_.watchArrivals();
    if (m_arrivals) {
        m_nArrivalsSeen = m_arrivals->Changes();
    }
    surface_.StartTimer(kArrivalTimerId, kArrivalPollMs);
}

void CVevaVoRirizevDlg::OnArrivalTimer() {
    if (!m_bIdle) {
        surface_.StopTimer(kArrivalTimerId);
        return;
    }
    // Not while a run lists the printers itself; what came meanwhile is seen once it has ended.
    if (bUpgrading.load() || m_bLocked) {
        return;
    }
    if (m_bRelistDue) {
        m_bRelistDue = false;
    } else if (m_arrivals) {
        const std::uint64_t changes = m_arrivals->Changes();
        if (changes == m_nArrivalsSeen) {
            return;
        }
        m_nArrivalsSeen = changes;
    } else if (ActiveClock().MonotonicMs() - m_nListedAtMs < kRelistWithoutWatchMs) {
        return;
    }
    RelistPrinters();
}

void CVevaVoRirizevDlg::RelistPrinters() {
    if (!m_bIdle || bUpgrading.load()) {
        return;
    }
    m_nListedAtMs = ActiveClock().MonotonicMs();
    if (m_printerList.Show(hooks_.listPrinters())) {
        UpdateStartButton();
    }
}

std::optional<DeviceEntry> CVevaVoRirizevDlg::AskChosenPrinter() {
    std::optional<DeviceEntry> chosen;
    surface_.RunOnWindowThread([&] { chosen = ChosenPrinter(); });
    return chosen;
}

void CVevaVoRirizevDlg::OnSelectionChange(int id) {
    if (id != kIdPrinters || !m_bIdle || m_bLocked) {
        return;
    }
    m_printerList.TakeUserChoice();
    UpdateStartButton();
}

// Of several printers none is taken because it came first: Start waits for the user's choice,
// and the keyboard waits on the list.
void CVevaVoRirizevDlg::UpdateStartButton() {
    const bool allowed = m_printerList.StartAllowed();
    surface_.Enable(kIdStart, allowed && !m_bLocked);
    if (!m_bIdle) {
        return;
    }
    // A disabled Start would lose the keyboard to nowhere: it goes to the list. A choice made in
    // the list leaves the keyboard there (the arrow keys may choose again); Start becomes where
    // the focus returns to.
    if (!allowed && m_nFocusId != kIdPrinters) {
        m_nFocusId = kIdPrinters;
        surface_.SetFocus(kIdPrinters);
    } else if (allowed) {
        m_nFocusId = kIdStart;
    }
}

void CVevaVoRirizevDlg::LayoutForLanguage() {
    // Translations differ in length, so each language has places of its own.
    const IdleLayout& layout = CurrentLanguage().idleLayout;
    surface_.Move(kIdTips, AsPixelRect(layout.tips));
    surface_.Move(kIdNotice, AsPixelRect(layout.notice));
    surface_.Move(kIdStart, AsPixelRect(layout.start));
}

int CVevaVoRirizevDlg::ReportOsVersion() {
    return fwup::ReportOsVersion(hooks_.queryOsVersion);
}

void CVevaVoRirizevDlg::ShowUpgradeStatus(int code, int value) {
    if (code == STATUS_TRANSFER) {
        ReportTransfer(value);
        return;
    }
    m_nTransferLatest.store(kNoTransfer);
    m_nTransferPassed.store(kNoTransfer);
    surface_.RunOnWindowThread([&] {
        StopTransferPolling();
        ApplyStatus(code, value);
    });
}

void CVevaVoRirizevDlg::ReportTransfer(int percent) {
    // Most reports repeat the percentage last passed on: they cost one load and nothing more.
    const int passed = m_nTransferPassed.load(std::memory_order_relaxed);
    if (percent == passed) {
        return;
    }
    if (percent != m_nTransferLatest.load(std::memory_order_relaxed)) {
        m_nTransferLatest.store(percent);
    }
    // Once the window thread looks for new percentages itself, there is nothing to send.
    if (m_bTransferPolled.load()) {
        return;
    }
    // A percentage held back here goes with the first report after the frame, so what the bar
    // shows is never more than a frame (or one write) behind.
    const std::int64_t now = ActiveClock().MonotonicMs();
    if (passed != kNoTransfer && percent < kProgressHighest &&
        now - m_nTransferPassedAtMs.load() < kTransferFrameMs) {
        return;
    }
    m_nTransferPassed.store(percent);
    m_nTransferPassedAtMs.store(now);
    // One request at a time: while it waits for the window thread, newer percentages only
    // replace the one it will show.
    if (!m_bTransferPosted.exchange(true)) {
        surface_.PostToWindowThread([this] {
            m_bTransferPosted.store(false);
            ShowLatestTransfer();
            // Where the surface has timers, the window thread takes the percentages from here
            // on, once a frame, and the transfer never has to wake it.
            if (m_nTransferLatest.load() != kNoTransfer && !m_bTransferPolled.load() &&
                surface_.StartTimer(kTransferTimerId, static_cast<int>(kTransferFrameMs))) {
                m_bTransferPolled.store(true);
            }
        });
    }
}

void CVevaVoRirizevDlg::OnTimer(int timerId) {
    if (timerId == kTransferTimerId) {
        ShowLatestTransfer();
    } else if (timerId == kArrivalTimerId) {
        OnArrivalTimer();
    }
}

void CVevaVoRirizevDlg::ShowLatestTransfer() {
    const int latest = m_nTransferLatest.load();
    if (latest != kNoTransfer && latest != m_nTransferShown) {
        m_nTransferShown = latest;
        ApplyStatus(STATUS_TRANSFER, latest);
    }
    if (latest != kNoTransfer) {
        ShowFigures(latest >= kProgressHighest);
    }
}

void CVevaVoRirizevDlg::ReportTransferBytes(std::size_t sent, std::size_t total) {
    if (m_nTransferStartMs.load(std::memory_order_relaxed) == 0) {
        m_nTransferStartMs.store(std::max<std::int64_t>(ActiveClock().MonotonicMs(), 1));
    }
    m_nTransferTotal.store(total, std::memory_order_relaxed);
    m_nTransferSent.store(sent, std::memory_order_relaxed);
}

// Bytes, rate and time left as the console program writes them, a few times a second at most.
void CVevaVoRirizevDlg::ShowFigures(bool force) {
    const std::int64_t startMs = m_nTransferStartMs.load();
    const std::size_t total = m_nTransferTotal.load();
    if (startMs == 0 || total == 0) {
        return;
    }
    const std::int64_t now = ActiveClock().MonotonicMs();
    if (!force && m_nFiguresShownAtMs != 0 && now - m_nFiguresShownAtMs < kFiguresIntervalMs) {
        return;
    }
    m_nFiguresShownAtMs = now;
    const TransferFigures figures = MeasureTransfer(m_nTransferSent.load(), total, now - startMs);
    // Right to left, marks keep "sent / total" in its order and each number with its own words.
    const bool rightToLeft = CurrentLanguage().rightToLeft;
    const std::wstring gap = rightToLeft ? L"   \u200F" : L"   ";
    const std::wstring of = rightToLeft ? L"\u200E / \u200E" : L" / ";
    const std::wstring text = std::to_wstring(figures.sent) + of + std::to_wstring(figures.total) +
                              L" " + GetLangText(TXT_BYTES) + gap + FromUtf8(RateText(figures)) +
                              gap + LabelAndValue(TXT_TIME_LEFT, FromUtf8(TimeLeftText(figures)));
    surface_.SetText(kIdFigures, text);
    surface_.Show(kIdFigures, true);
}

void CVevaVoRirizevDlg::ShowRunPrinter(const DeviceEntry& printer, const std::string& versionText) {
    std::wstring text = LabelAndValue(TXT_PRINTER, PrinterNameText(printer));
    if (!versionText.empty()) {
        text += L"\r\n" + LabelAndValue(TXT_FIRMWARE,
                                        ShownText(FromUtf8(versionText)) + L" \u2192 " +
                                            ShownText(FromUtf8(PackageVersionFor(versionText))));
    }
    surface_.RunOnWindowThread([&] {
        surface_.SetText(kIdRunPrinter, text);
        surface_.SetAccessibleName(kIdProgress,
                                   GetLangText(TXT_TRANSMITTING) + L" " + OneLine(text));
    });
}

void CVevaVoRirizevDlg::ShowFollow(FollowState state, std::int64_t waitedMs,
                                   const std::string& versionText) {
    // Posted, never waited for: Complete ends the window during the wait, and a worker waiting on
    // a window thread that has gone on to join it would wait for ever.
    surface_.PostToWindowThread(
        [this, state, waitedMs, version = ShownText(FromUtf8(versionText))] {
            ApplyFollow(state, waitedMs, version);
        });
}

void CVevaVoRirizevDlg::ApplyFollow(FollowState state, std::int64_t waitedMs,
                                    const std::wstring& versionText) {
    std::wstring text;
    switch (state) {
        case FollowState::kWaiting:
            text = LabelAndValue(TXT_FOLLOW_WAITING, FromUtf8(MinutesSeconds(waitedMs / 1000)));
            break;
        case FollowState::kCurrent:
            text = LabelAndValue(TXT_FOLLOW_CURRENT, versionText);
            break;
        case FollowState::kNotTaken: {
            // The printer refused the firmware: the failure look, saying so.
            ApplyStatus(STATUS_FAILED, 0);
            const std::wstring message = LabelAndValue(TXT_FOLLOW_NOT_TAKEN, versionText);
            surface_.SetText(kIdMessage, message);
            surface_.Show(kIdFollow, false);
            AnnounceEnding(TXT_FAILED, message);
            return;
        }
        case FollowState::kNotBack:
            text = GetLangText(TXT_FOLLOW_NOT_BACK);
            break;
        case FollowState::kUnknown:
            text = GetLangText(TXT_FOLLOW_UNKNOWN);
            break;
    }
    if (surface_.GetText(kIdFollow) == text) {
        return;
    }
    surface_.SetText(kIdFollow, text);
    surface_.Show(kIdFollow, true);
    // The waiting line changes every second and is read on request; the verdict is told at once,
    // from the Complete button that has the focus.
    if (state != FollowState::kWaiting) {
        surface_.SetAccessibleDescription(kIdExit, GetLangText(TXT_SUCCEEDED) + L" " + text);
    }
}

void CVevaVoRirizevDlg::ShowRunPrinterIn(const PixelRect& rect) {
    if (surface_.GetText(kIdRunPrinter).empty()) {
        return;
    }
    surface_.Move(kIdRunPrinter, rect);
    surface_.Show(kIdRunPrinter, true);
    m_bRunPrinterShown = true;
}

void CVevaVoRirizevDlg::StopTransferPolling() {
    if (m_bTransferPolled.exchange(false)) {
        surface_.StopTimer(kTransferTimerId);
    }
    m_nTransferShown = kNoTransfer;
}

void CVevaVoRirizevDlg::SetCloseMenuItem(bool present) {
    surface_.RunOnWindowThread([&] { ApplyCloseMenuItem(present); });
}

void CVevaVoRirizevDlg::LockWindow() {
    surface_.RunOnWindowThread([this] {
        m_bLocked = true;
        surface_.Enable(kIdStart, false);
        surface_.Enable(kIdExit, false);
        surface_.Enable(kIdPrinters, false);
        ApplyCloseMenuItem(false);
    });
}

void CVevaVoRirizevDlg::UnlockWindow() {
    surface_.RunOnWindowThread([this] {
        m_bLocked = false;
        surface_.Enable(kIdExit, true);
        surface_.Enable(kIdPrinters, m_printerList.Printers().size() > 1);
        UpdateStartButton();
        // Printers may have come or gone while the run looked at them: the list is made again
        // once the run has ended.
        m_bRelistDue = true;
        ApplyCloseMenuItem(true);
        // Disabling Start took the focus from it. A run that ends before any status (after a
        // message the user answered) gives the keyboard back to Start.
        if (m_nFocusId != 0) {
            surface_.SetFocus(m_nFocusId);
        }
    });
}

int CVevaVoRirizevDlg::ShowMessage(const wchar_t* text, int mode) {
    CShowMsgDlg dialog(factory_, &surface_);
    dialog.m_strMsg = text != nullptr ? text : L"";
    dialog.m_nMode = mode;
    return dialog.DoModal();
}

void CVevaVoRirizevDlg::ApplyCloseMenuItem(bool present) {
    if (present == m_bCloseMenuPresent) {
        return;
    }
    const bool changed =
        present ? surface_.AppendCloseMenuItem(m_strCloseMenuText) : surface_.RemoveCloseMenuItem();
    if (changed) {
        m_bCloseMenuPresent = present;
    }
}

void CVevaVoRirizevDlg::ApplyStatus(int code, int value) {
    // The idle look never returns: once a run has reported, Start stays hidden.
    m_nFocusId = 0;
    if (m_bIdle) {
        m_bIdle = false;
        surface_.StopTimer(kArrivalTimerId);
        m_arrivals.reset();
    }
    surface_.Show(kIdTips, false);
    surface_.Show(kIdNotice, false);
    surface_.Show(kIdStart, false);
    surface_.Show(kIdPrinterLine, false);
    surface_.Show(kIdPrinters, false);
    if (code != STATUS_TRANSFER) {
        surface_.Show(kIdFigures, false);
        ShowRunPrinterIn(kRunPrinterFinalRect);
    }

    switch (code) {
        case STATUS_TRANSFER: {
            surface_.Show(kIdMessage, false);
            surface_.Show(kIdResult, false);
            surface_.Show(kIdResultPicture, false);
            // Some toolkits ignore a position outside the range instead of pinning it.
            surface_.SetProgressPos(kIdProgress,
                                    std::clamp(value, kProgressLowest, kProgressHighest));
            // Setting an unchanged text would still repaint it, hundreds of times in a run.
            const std::wstring transmitting = GetLangText(TXT_TRANSMITTING);
            if (surface_.GetText(kIdStatus) != transmitting) {
                surface_.SetText(kIdStatus, transmitting);
            }
            surface_.Show(kIdStatus, true);
            surface_.Show(kIdProgress, true);
            if (!m_bRunPrinterShown) {
                ShowRunPrinterIn(kRunPrinterTransferRect);
            }
            break;
        }
        case STATUS_SUCCEEDED:
            surface_.SetProgressPos(kIdProgress, kProgressHighest);
            surface_.Show(kIdStatus, false);
            surface_.Show(kIdProgress, false);
            surface_.SetImage(kIdResultPicture, kIdbSucceeded);
            surface_.SetText(kIdResult, GetLangText(TXT_SUCCEEDED));
            CentreMessage();
            surface_.Move(kIdMessage, kCentredMessageRect);
            surface_.SetText(
                kIdMessage, GetLangText(TXT_KEEP_POWER_ON) + L"\r\n" + GetLangText(TXT_NEW_DRIVER));
            ShowExit(TXT_COMPLETE);
            surface_.Show(kIdMessage, true);
            surface_.Show(kIdResult, true);
            surface_.Show(kIdResultPicture, true);
            AnnounceEnding(TXT_SUCCEEDED,
                           GetLangText(TXT_KEEP_POWER_ON) + L" " + GetLangText(TXT_NEW_DRIVER));
            break;
        case STATUS_FAILED:
            surface_.Show(kIdStatus, false);
            surface_.Show(kIdProgress, false);
            CentreMessage();
            surface_.Move(kIdMessage, kCentredMessageRect);
            surface_.SetText(kIdMessage, GetLangText(TXT_RETRY_OR_CONTACT));
            surface_.SetText(kIdResult, GetLangText(TXT_FAILED));
            surface_.SetImage(kIdResultPicture, kIdbFailed);
            surface_.Show(kIdMessage, true);
            surface_.Show(kIdResult, true);
            surface_.Show(kIdResultPicture, true);
            ShowExit(TXT_EXIT);
            AnnounceEnding(TXT_FAILED, GetLangText(TXT_RETRY_OR_CONTACT));
            break;
        case STATUS_NOT_READY:
            surface_.Show(kIdStatus, false);
            surface_.Show(kIdResult, false);
            surface_.Show(kIdProgress, false);
            surface_.Show(kIdResultPicture, false);
            // No picture here, so the message keeps its created place.
            CentreMessage();
            surface_.SetText(kIdMessage, GetLangText(TXT_NOT_READY));
            surface_.Show(kIdMessage, true);
            ShowExit(TXT_EXIT);
            AnnounceEnding(0, GetLangText(TXT_NOT_READY));
            break;
        default:
            break;
    }
}

void CVevaVoRirizevDlg::CentreMessage() {
    surface_.ChangeStyle(kIdMessage, m_nMessageAlign, kStyleAlignCenter);
}

// A final look ends the lock: Exit and the close item are the way out.
void CVevaVoRirizevDlg::ShowExit(int captionId) {
    m_bLocked = false;
    surface_.Enable(kIdExit, true);
    surface_.SetText(kIdExit, GetLangText(captionId));
    surface_.Show(kIdExit, true);
    ApplyCloseMenuItem(true);
}

// A screen reader speaks the focused button with its description, so the ending is heard as
// soon as it is shown: the result line (when the look has one) and the message, read from the
// Exit/Complete button that takes the focus. The picture is named by the result line.
void CVevaVoRirizevDlg::AnnounceEnding(int resultTextId, const std::wstring& message) {
    std::wstring description = message;
    if (resultTextId != 0) {
        const std::wstring result = GetLangText(resultTextId);
        surface_.SetAccessibleName(kIdResultPicture, result);
        description = result + L" " + message;
    }
    // The printer it speaks of, last.
    const std::wstring printer = surface_.GetText(kIdRunPrinter);
    if (!printer.empty()) {
        description += L" " + OneLine(printer);
    }
    surface_.SetAccessibleDescription(kIdExit, description);
    m_nFocusId = kIdExit;
    surface_.SetFocus(kIdExit);
}

void CVevaVoRirizevDlg::OnCommand(int id) {
    if (id == kIdStart) {
        // Of several printers one must be chosen first; Start is disabled, but a command may
        // still come from the keyboard. (A second run while one is active is the worker's to
        // refuse.)
        if (hooks_.onStart && m_printerList.StartAllowed()) {
            hooks_.onStart(*this);
        }
    } else if (id == kIdExit) {
        EndIfAllowed();
    }
    // The default-button command (Return) does nothing: there is no default action.
}

void CVevaVoRirizevDlg::OnFocus() {
    // Back to the look's one action: Start while idle, Exit/Complete in a final look. During the
    // transfer nothing takes the focus, and a hidden control must not keep it.
    if (m_nFocusId != 0) {
        surface_.SetFocus(m_nFocusId);
    }
}

bool CVevaVoRirizevDlg::EndIfAllowed() {
    // A worker still running would call into a window that no longer exists, and the printer
    // would be left half-written.
    if (bUpgrading.load() || m_bLocked) {
        return false;
    }
    surface_.EndDialog(kIdExit);
    // A wait on the run's behalf (for the flashed printer) gives up now.
    m_bEnded.store(true);
    return true;
}

}  // namespace fwup
