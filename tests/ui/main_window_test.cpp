#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/common/program_services.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "text/lang_text.h"
#include "text/languages.h"
#include "ui/dialog_templates.h"
#include "upgrade/run_status.h"

namespace fwup {
namespace {

using testing::RecordedControl;
using testing::RecordingDialogSurface;
using testing::RecordingSurfaceFactory;

std::wstring Text(int id) {
    return GetLangText(id);
}

class MainWindowTest : public ::testing::Test {
  protected:
    ~MainWindowTest() override {
        window_.reset();
        UiLangId.store(0);
        bUpgrading.store(false);
    }

    CVevaVoRirizevDlg& Open(std::uint16_t language = LANG_ENGLISH, MainWindowHooks hooks = {}) {
        hooks.selectLanguage = [language] { UiLangId.store(language); };
        window_.emplace(surface_, factory_, std::move(hooks));
        surface_.FireInit();
        return *window_;
    }
    const RecordedControl& C(int id) const { return surface_.Control(id); }
    std::vector<int> VisibleIds() const {
        std::vector<int> ids;
        for (const auto& [id, control] : surface_.controls) {
            if (control.visible) {
                ids.push_back(id);
            }
        }
        return ids;
    }

    testing::InstantClock clock_;
    RecordingDialogSurface surface_;
    RecordingSurfaceFactory factory_;
    std::optional<CVevaVoRirizevDlg> window_;
};

// The title names simulated printers in the window's own language, after its own title.
TEST_F(MainWindowTest, TitleNamesSimulatedPrintersInEveryLanguage) {
    struct Case {
        std::uint16_t language;
        const wchar_t* suffix;
    };
    std::optional<InstalledServices> simulated(
        std::in_place, ProgramServices{.simulatedScenario = L"one-printer-ready.json"});
    for (const Case& c :
         {Case{LANG_ENGLISH, L" \u2014 simulated printers"},
          Case{LANG_ITALIAN, L" \u2014 stampanti simulate"},
          Case{LANG_TURKISH, L" \u2014 sim\u00FCle edilmi\u015F yaz\u0131c\u0131lar"},
          Case{LANG_RUSSIAN,
               L" \u2014 \u0438\u043C\u0438\u0442\u0438\u0440\u0443"
               L"\u0435\u043C\u044B\u0435 \u043F\u0440\u0438\u043D"
               L"\u0442\u0435\u0440\u044B"},
          // Chinese puts the note in full-width brackets, without a Western spaced dash.
          Case{LANG_CHINESE, L"\uFF08\u6A21\u62DF\u6253\u5370\u673A\uFF09"}}) {
        window_.reset();
        Open(c.language);
        EXPECT_EQ(surface_.title, Text(TXT_TITLE) + c.suffix) << c.language;
    }
    // Every other table speaks for itself rather than falling back to the English suffix.
    for (const std::uint16_t language :
         {LANG_HEBREW, LANG_GERMAN, LANG_FRENCH, LANG_SPANISH, LANG_PORTUGUESE, LANG_POLISH,
          LANG_ARABIC, LANG_UKRAINIAN, LANG_CZECH, LANG_DUTCH, LANG_SWEDISH, LANG_HUNGARIAN,
          LANG_GREEK, LANG_ROMANIAN, LANG_VIETNAMESE, LANG_INDONESIAN}) {
        window_.reset();
        Open(language);
        EXPECT_TRUE(surface_.title.starts_with(Text(TXT_TITLE) + L" \u2014 ")) << language;
        EXPECT_FALSE(surface_.title.ends_with(L"simulated printers")) << language;
    }
    simulated.reset();
    window_.reset();
    Open(LANG_ITALIAN);
    EXPECT_EQ(surface_.title, Text(TXT_TITLE)) << "real printers: the title alone";
}

TEST_F(MainWindowTest, IdleLookAfterInit) {
    testing::RecordingNoticeOutput notices;
    CVevaVoRirizevDlg& window =
        Open(LANG_ENGLISH, {.queryOsVersion = [] {
                 return std::optional(OsVersionFacts{true, 2, 10, 0, 1, false});
             }});
    EXPECT_EQ(notices.lines.size(), 3u) << "the OS report is written at initialisation";

    EXPECT_EQ(pMainDlg.load(), &window);
    EXPECT_EQ(surface_.title, L"Viruzu  Firmware Upgrade Tool");
    EXPECT_FALSE(surface_.rtlReading);
    // No printer attached: the line says so, and there is no list to choose from.
    EXPECT_EQ(VisibleIds(), (std::vector<int>{kIdTips, kIdNotice, kIdPrinterLine, kIdStart}));
    EXPECT_EQ(C(kIdPrinterLine).text, Text(TXT_PRINTERS_NONE));
    EXPECT_TRUE(surface_.createdTwice.empty()) << "a created control shares a template id";

    EXPECT_EQ(C(kIdTips).text,
              Text(TXT_TIPS) + L"Viruzu TQ3800HKS series\r\nViruzu TQ3800HKR series\r\n");
    EXPECT_EQ(C(kIdNotice).text, Text(TXT_STEPS));
    EXPECT_EQ(C(kIdStart).text, L"Start to upgrade");
    EXPECT_EQ(C(kIdExit).text, L"Exit");
    EXPECT_EQ(C(kIdProgress).progressLowest, 1);
    EXPECT_EQ(
        C(kIdResult).font,
        (FontDesc{
            .face = L"宋体", .height = 15, .weight = 700, .family = FontDesc::Family::kSwiss}));
    EXPECT_EQ(window.m_strCloseMenuText, L"&Close\tAlt+F4");

    // The keyboard starts on Start, and focus returning to the window goes back there.
    EXPECT_EQ(surface_.focusId, kIdStart);
    surface_.focusId = 0;
    surface_.FireFocus();
    EXPECT_EQ(surface_.focusId, kIdStart);
    // A run that ends in a message, before any status, gives the keyboard back to Start.
    window.LockWindow();
    surface_.focusId = 0;
    window.UnlockWindow();
    EXPECT_EQ(surface_.focusId, kIdStart);
    EXPECT_EQ(C(kIdTips).accessibleName, L"Tips");
    EXPECT_EQ(C(kIdProgress).accessibleName, Text(TXT_TRANSMITTING));
}

// A screen reader needs a name for the tips box in every language: the heading of its text,
// without the colon, whatever the language writes around it.
TEST_F(MainWindowTest, TipsBoxIsNamedByItsHeadingInEveryLanguage) {
    for (const Language& language : Languages()) {
        window_.reset();
        Open(language.id);
        const std::wstring name = C(kIdTips).accessibleName;
        const std::wstring tips = Text(TXT_TIPS);
        EXPECT_FALSE(name.empty()) << language.englishName;
        EXPECT_EQ(tips.rfind(name, 0), 0u) << language.englishName;
        EXPECT_EQ(name.find_first_of(L":\uFF1A\r\n"), std::wstring::npos) << language.englishName;
        EXPECT_NE(name.back(), L'\u00A0') << language.englishName;
    }
}

struct LayoutCase {
    const char* name;
    std::uint16_t language;
    PixelRect tips;
    PixelRect notice;
    PixelRect start;
};

class MainWindowLayoutTest : public MainWindowTest,
                             public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MainWindowLayoutTest, PlacesTipsNoticeAndStart) {
    Open(GetParam().language);
    EXPECT_EQ(C(kIdTips).rect, GetParam().tips);
    EXPECT_EQ(C(kIdNotice).rect, GetParam().notice);
    EXPECT_EQ(C(kIdStart).rect, GetParam().start);
    // The printer line and list between the steps and Start.
    EXPECT_LE(GetParam().notice.y + GetParam().notice.height, C(kIdPrinterLine).rect.y);
    EXPECT_LE(C(kIdPrinters).rect.y + C(kIdPrinters).rect.height, GetParam().start.y);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, MainWindowLayoutTest,
    ::testing::Values(
        LayoutCase{
            "Italian", LANG_ITALIAN, {30, 20, 400, 180}, {30, 200, 400, 160}, {270, 442, 140, 25}},
        LayoutCase{
            "Turkish", LANG_TURKISH, {30, 20, 400, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}},
        LayoutCase{
            "Hebrew", LANG_HEBREW, {30, 20, 400, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}},
        LayoutCase{
            "Russian", LANG_RUSSIAN, {30, 20, 410, 180}, {30, 200, 400, 160}, {280, 442, 130, 25}},
        LayoutCase{
            "Chinese", LANG_CHINESE, {30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
        LayoutCase{
            "English", LANG_ENGLISH, {30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}},
        LayoutCase{"Portuguese",
                   LANG_PORTUGUESE,
                   {30, 20, 400, 170},
                   {30, 200, 400, 160},
                   {270, 442, 140, 25}},
        LayoutCase{
            "German", LANG_GERMAN, {30, 20, 400, 170}, {30, 200, 400, 160}, {290, 442, 120, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

// Right to left is the language's, not Hebrew's alone: Arabic reads and aligns the same way.
TEST_F(MainWindowTest, RightToLeftLanguagesReadRightToLeftAndCentreTheFinalMessage) {
    int rightToLeft = 0;
    for (const Language& language : Languages()) {
        if (!language.rightToLeft) {
            continue;
        }
        ++rightToLeft;
        SCOPED_TRACE(language.englishName);
        window_.reset();
        CVevaVoRirizevDlg& window = Open(language.id);

        EXPECT_TRUE(surface_.rtlReading);
        EXPECT_EQ(window.m_nMessageAlign, kStyleAlignRight);
        for (int id : {kIdTips, kIdNotice, kIdMessage}) {
            EXPECT_EQ(C(id).style & (kStyleRtlReading | kStyleAlignRight),
                      kStyleRtlReading | kStyleAlignRight)
                << id;
        }
        for (int id : {kIdStatus, kIdResult}) {
            EXPECT_EQ(C(id).style & (kStyleRtlReading | kStyleAlignCenter),
                      kStyleRtlReading | kStyleAlignCenter)
                << id;
        }
        EXPECT_EQ(C(kIdProgress).style & kStyleLayoutRtl, kStyleLayoutRtl);

        window.ShowUpgradeStatus(STATUS_FAILED, 0);
        EXPECT_EQ(C(kIdMessage).style & (kStyleAlignRight | kStyleAlignCenter), kStyleAlignCenter);
        EXPECT_EQ(C(kIdMessage).style & kStyleRtlReading, kStyleRtlReading);
    }
    EXPECT_GE(rightToLeft, 2) << "Hebrew and Arabic";
}

TEST_F(MainWindowTest, TransferSetsTheStatusTextOnceAndMovesTheBar) {
    CVevaVoRirizevDlg& window = Open();
    window.LockWindow();
    for (int percent = 0; percent <= 100; percent += 5) {
        clock_.Advance(kTransferFrameMs);
        window.ShowUpgradeStatus(STATUS_TRANSFER, percent);
        // The range starts at 1: a toolkit that ignores out-of-range positions must still move.
        EXPECT_EQ(C(kIdProgress).progressPos, percent == 0 ? 1 : percent);
    }

    EXPECT_EQ(VisibleIds(), (std::vector<int>{kIdProgress, kIdStatus}));
    EXPECT_EQ(C(kIdStatus).text, Text(TXT_TRANSMITTING));
    EXPECT_EQ(C(kIdStatus).textSets, 1);
    EXPECT_FALSE(C(kIdStart).enabled);
    EXPECT_FALSE(surface_.closeItemPresent);
}

TEST_F(MainWindowTest, TransferPercentagesReachTheWindowWhenNewAndAtMostOnceAFrame) {
    CVevaVoRirizevDlg& window = Open();
    window.LockWindow();
    window.ShowUpgradeStatus(STATUS_TRANSFER, 40);  // the first goes at once
    window.ShowUpgradeStatus(STATUS_TRANSFER, 40);
    window.ShowUpgradeStatus(STATUS_TRANSFER, 41);  // new, but within the frame: held back
    EXPECT_EQ(surface_.windowThreadPosts, 1);
    EXPECT_EQ(C(kIdProgress).progressPos, 40);

    // The first report after the frame takes what was held back, even when it repeats it.
    clock_.Advance(kTransferFrameMs);
    window.ShowUpgradeStatus(STATUS_TRANSFER, 41);
    EXPECT_EQ(surface_.windowThreadPosts, 2);
    EXPECT_EQ(C(kIdProgress).progressPos, 41);

    // The full bar never waits for the frame.
    window.ShowUpgradeStatus(STATUS_TRANSFER, 100);
    EXPECT_EQ(surface_.windowThreadPosts, 3);
    EXPECT_EQ(C(kIdProgress).progressPos, 100);

    // After another look the same percentage is news again.
    window.ShowUpgradeStatus(STATUS_NOT_READY, 0);
    window.ShowUpgradeStatus(STATUS_TRANSFER, 100);
    EXPECT_EQ(surface_.windowThreadPosts, 4);
    EXPECT_TRUE(C(kIdProgress).visible);
    EXPECT_FALSE(C(kIdMessage).visible);
}

// With timers, only the transfer's first percentage is sent to the window thread; the window
// then picks up the latest itself once a frame, until another status ends the transfer's look.
TEST_F(MainWindowTest, WithTimersTheWindowPicksUpPercentagesItselfAfterTheFirst) {
    surface_.timersSupported = true;
    CVevaVoRirizevDlg& window = Open();
    window.LockWindow();
    window.ShowUpgradeStatus(STATUS_TRANSFER, 0);
    ASSERT_EQ(surface_.runningTimers.size(), 1u);
    const int timer = surface_.runningTimers.begin()->first;
    EXPECT_EQ(surface_.runningTimers.begin()->second, kTransferFrameMs);
    for (int percent = 1; percent <= 60; ++percent) {
        clock_.Advance(kTransferFrameMs);
        window.ShowUpgradeStatus(STATUS_TRANSFER, percent);
    }
    EXPECT_EQ(surface_.windowThreadPosts, 1) << "the transfer never wakes the window again";
    EXPECT_EQ(C(kIdProgress).progressPos, 1);
    surface_.FireTimer(timer);
    EXPECT_EQ(C(kIdProgress).progressPos, 60);

    window.ShowUpgradeStatus(STATUS_SUCCEEDED, 100);
    EXPECT_TRUE(surface_.runningTimers.empty());
    EXPECT_FALSE(C(kIdProgress).visible);

    // A later transfer is announced afresh.
    window.ShowUpgradeStatus(STATUS_TRANSFER, 5);
    EXPECT_EQ(surface_.windowThreadPosts, 2);
    EXPECT_TRUE(C(kIdProgress).visible);
    EXPECT_EQ(C(kIdProgress).progressPos, 5);
}

struct FinalCase {
    const char* name;
    int code;
    int value;
    std::wstring exitCaption;
    std::vector<int> messageIds;  // joined by CR LF
    int resultTextId;             // -1: the result line stays hidden
    int image;                    // 0: the picture stays hidden
    PixelRect messageRect;
};

class MainWindowFinalLookTest : public MainWindowTest,
                                public ::testing::WithParamInterface<FinalCase> {};

TEST_P(MainWindowFinalLookTest, ShowsResultAndOffersExit) {
    const FinalCase& look = GetParam();
    CVevaVoRirizevDlg& window = Open();
    window.LockWindow();
    window.ShowUpgradeStatus(STATUS_TRANSFER, 40);
    window.ShowUpgradeStatus(look.code, look.value);

    std::wstring message;
    for (int id : look.messageIds) {
        message += (message.empty() ? L"" : L"\r\n") + Text(id);
    }
    EXPECT_EQ(C(kIdMessage).text, message);
    EXPECT_TRUE(C(kIdMessage).visible);
    EXPECT_EQ(C(kIdMessage).rect, look.messageRect);
    EXPECT_EQ(C(kIdMessage).style & kStyleAlignCenter, kStyleAlignCenter);

    EXPECT_EQ(C(kIdResult).visible, look.resultTextId >= 0);
    if (look.resultTextId >= 0) {
        EXPECT_EQ(C(kIdResult).text, Text(look.resultTextId));
    }
    EXPECT_EQ(C(kIdResultPicture).visible, look.image != 0);
    if (look.image != 0) {
        EXPECT_EQ(C(kIdResultPicture).image, look.image);
    }

    EXPECT_TRUE(C(kIdExit).visible);
    EXPECT_TRUE(C(kIdExit).enabled);
    EXPECT_EQ(C(kIdExit).text, look.exitCaption);
    // The ending is heard at once: the focus goes to Exit/Complete, whose description is the
    // result and the message on one line; the picture is named by the result line.
    EXPECT_EQ(surface_.focusId, kIdExit);
    std::wstring spoken = look.resultTextId >= 0 ? Text(look.resultTextId) + L" " : L"";
    for (int id : look.messageIds) {
        spoken += Text(id) + (id == look.messageIds.back() ? L"" : L" ");
    }
    EXPECT_EQ(C(kIdExit).accessibleDescription, spoken);
    if (look.image != 0) {
        EXPECT_EQ(C(kIdResultPicture).accessibleName, Text(look.resultTextId));
    }
    surface_.focusId = 0;
    surface_.FireFocus();
    EXPECT_EQ(surface_.focusId, kIdExit);
    for (int hidden : {kIdStart, kIdTips, kIdNotice, kIdStatus, kIdProgress}) {
        EXPECT_FALSE(C(hidden).visible) << hidden;
    }
    EXPECT_TRUE(surface_.closeItemPresent);

    // The final look unlocks: once the run has let go, Exit ends the window.
    surface_.FireCommand(kIdExit);
    EXPECT_TRUE(surface_.ended);
    EXPECT_EQ(surface_.endResult, 2);
}

INSTANTIATE_TEST_SUITE_P(Looks, MainWindowFinalLookTest,
                         ::testing::Values(FinalCase{"Succeeded",
                                                     STATUS_SUCCEEDED,
                                                     100,
                                                     L"Complete",
                                                     {TXT_KEEP_POWER_ON, TXT_NEW_DRIVER},
                                                     TXT_SUCCEEDED,
                                                     kIdbSucceeded,
                                                     {30, 180, 410, 100}},
                                           FinalCase{"Failed",
                                                     STATUS_FAILED,
                                                     0,
                                                     L"Exit",
                                                     {TXT_RETRY_OR_CONTACT},
                                                     TXT_FAILED,
                                                     kIdbFailed,
                                                     {30, 180, 410, 100}},
                                           FinalCase{"NotReady",
                                                     STATUS_NOT_READY,
                                                     0,
                                                     L"Exit",
                                                     {TXT_NOT_READY},
                                                     -1,
                                                     0,
                                                     PixelRect::FromEdges(10, 110, 460, 230)}),
                         [](const auto& info) { return std::string(info.param.name); });

class CloseMenuCaptionTest : public ::testing::TestWithParam<std::wstring> {
  protected:
    ~CloseMenuCaptionTest() override { UiLangId.store(0); }
};

TEST_P(CloseMenuCaptionTest, LockRemovesTheItemAndUnlockRestoresItsCaption) {
    RecordingDialogSurface surface(kMainDialogTemplate, nullptr, GetParam());
    RecordingSurfaceFactory factory;
    CVevaVoRirizevDlg window(surface, factory, {.selectLanguage = [] { UiLangId.store(0); }});
    surface.FireInit();
    const std::wstring expected = GetParam().empty() ? L"关闭(&C)" : GetParam();
    EXPECT_EQ(window.m_strCloseMenuText, expected);

    window.LockWindow();
    EXPECT_FALSE(surface.closeItemPresent);
    EXPECT_FALSE(window.m_bCloseMenuPresent);
    EXPECT_FALSE(surface.Control(kIdStart).enabled);
    EXPECT_FALSE(surface.Control(kIdExit).enabled);

    window.UnlockWindow();
    EXPECT_TRUE(surface.closeItemPresent);
    EXPECT_EQ(surface.closeItemCaption, expected);
    EXPECT_TRUE(surface.Control(kIdStart).enabled);
    EXPECT_TRUE(surface.Control(kIdExit).enabled);
}

INSTANTIATE_TEST_SUITE_P(Captions, CloseMenuCaptionTest, ::testing::Values(L"&Close\tAlt+F4", L""));

enum class CloseWay { kExitButton, kEscape, kWindowManager };

class MainWindowCloseTest : public MainWindowTest, public ::testing::WithParamInterface<CloseWay> {
  protected:
    // True when the window ended.
    bool TryClose() {
        switch (GetParam()) {
            case CloseWay::kExitButton:
                surface_.FireCommand(kIdExit);
                break;
            case CloseWay::kEscape:
                surface_.FireCancel();
                break;
            case CloseWay::kWindowManager:
                EXPECT_EQ(surface_.FireCloseRequest(), !bUpgrading.load() && !locked_);
                break;
        }
        return surface_.ended;
    }
    bool locked_ = false;
};

TEST_P(MainWindowCloseTest, RefusedWhileARunIsActive) {
    CVevaVoRirizevDlg& window = Open();

    // The worker locks the window a moment before it raises the flag.
    window.LockWindow();
    locked_ = true;
    EXPECT_FALSE(TryClose());
    bUpgrading.store(true);
    EXPECT_FALSE(TryClose());
    window.ShowUpgradeStatus(STATUS_TRANSFER, 50);
    EXPECT_FALSE(TryClose());
    window.ShowUpgradeStatus(STATUS_FAILED, 0);
    locked_ = false;
    EXPECT_FALSE(TryClose()) << "the worker has not let go yet";

    bUpgrading.store(false);
    EXPECT_TRUE(TryClose());
    EXPECT_EQ(surface_.endResult, 2);
}

TEST_P(MainWindowCloseTest, AllowedWhenIdle) {
    Open();
    EXPECT_TRUE(TryClose());
    EXPECT_EQ(surface_.endResult, 2);
}

INSTANTIATE_TEST_SUITE_P(Ways, MainWindowCloseTest,
                         ::testing::Values(CloseWay::kExitButton, CloseWay::kEscape,
                                           CloseWay::kWindowManager));

TEST_F(MainWindowTest, StartRunsTheHandlerAndReturnDoesNothing) {
    int starts = 0;
    Open(LANG_ENGLISH, {.onStart = [&](CVevaVoRirizevDlg& window) {
             EXPECT_EQ(&window, &*window_);
             ++starts;
         }});
    surface_.FireCommand(kIdOk);
    surface_.FireCommand(kIdStart);
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(surface_.ended);
}

TEST_F(MainWindowTest, DoModalReturnsTheExitResultAndForgetsTheWindow) {
    MainWindowHooks hooks{.selectLanguage = [] { UiLangId.store(LANG_ENGLISH); }};
    window_.emplace(surface_, factory_, std::move(hooks));
    surface_.modalScript = [&](RecordingDialogSurface& surface) {
        EXPECT_EQ(pMainDlg.load(), &*window_);
        surface.FireCommand(kIdExit);
    };
    EXPECT_EQ(window_->DoModal(), 2);
    EXPECT_EQ(pMainDlg.load(), nullptr);
}

TEST_F(MainWindowTest, WorkerCallsGoThroughTheWindowThread) {
    CVevaVoRirizevDlg& window = Open();
    const int before = surface_.windowThreadRequests;

    std::thread worker([&] {
        window.LockWindow();
        window.m_cbPrinters.ResetContent();
        window.m_cbPrinters.InsertString(0, L"Viruzu TQ3800HKS Series");
        window.m_cbPrinters.SetCurSel(0);
        EXPECT_EQ(window.m_cbPrinters.GetCurSel(), 0);
        for (int percent = 1; percent <= 100; ++percent) {
            clock_.Advance(kTransferFrameMs);
            window.ShowUpgradeStatus(STATUS_TRANSFER, percent);
        }
        window.ShowUpgradeStatus(STATUS_SUCCEEDED, 100);
    });
    worker.join();

    EXPECT_EQ(surface_.unmarshalledCalls, 0);
    EXPECT_EQ(surface_.windowThreadRequests - before, 1 + 4 + 1);
    EXPECT_EQ(surface_.windowThreadPosts, 100) << "progress does not wait for the window";
    EXPECT_EQ(C(kIdPrinters).items, std::vector<std::wstring>{L"Viruzu TQ3800HKS Series"});
}

}  // namespace
}  // namespace fwup
