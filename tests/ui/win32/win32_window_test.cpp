// The Win32 surface on real windows, made from the built program's own templates. Windows need a
// display: without one (plain ctest under Wine) these tests are skipped, and
// scripts/win32-ui-smoke.sh runs them on a virtual X display.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/wide_text.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/win32/program_resources.h"
#include "ui/win32/single_instance.h"
#include "ui/win32/test_windows.h"
#include "ui/win32/win32_dialog_surface.h"
#include "ui/win32/window_session_end.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {
namespace {

using namespace std::chrono_literals;
using testing::CanMakeWindows;
using testing::Eventually;

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// What a screen reader reads of a window through MSAA: its client object's name, description,
// value, role and state.
struct Msaa {
    HRESULT found = E_FAIL;
    std::wstring name;
    std::wstring description;
    std::wstring value;
    LONG role = 0;
    LONG state = 0;
};

std::wstring TakeText(HRESULT result, BSTR text) {
    std::wstring taken = SUCCEEDED(result) && text != nullptr ? std::wstring(text) : L"";
    SysFreeString(text);
    return taken;
}

Msaa ReadMsaa(HWND window) {
    Msaa read;
    IAccessible* object = nullptr;
    read.found =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
    if (FAILED(read.found) || object == nullptr) {
        return read;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    HRESULT result = object->get_accName(self, &text);
    read.name = TakeText(result, text);
    text = nullptr;
    result = object->get_accDescription(self, &text);
    read.description = TakeText(result, text);
    text = nullptr;
    result = object->get_accValue(self, &text);
    read.value = TakeText(result, text);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        read.role = role.lVal;
    }
    VARIANT state;
    VariantInit(&state);
    if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4) {
        read.state = state.lVal;
    }
    object->Release();
    return read;
}

std::ostream& operator<<(std::ostream& out, const Msaa& read) {
    return out << "found 0x" << std::hex << read.found << std::dec << " role " << read.role
               << " state 0x" << std::hex << read.state << std::dec << " name \""
               << ToUtf8(read.name) << "\" description \"" << ToUtf8(read.description)
               << "\" value \"" << ToUtf8(read.value) << "\"";
}

RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!CanMakeWindows()) {
            GTEST_SKIP() << "no display for windows; scripts/win32-ui-smoke.sh runs these";
        }
        ASSERT_NE(program_.module(), nullptr) << "cannot load " << FWUP_WIN32_PROGRAM;
        ASSERT_TRUE(testing::RegisterCommonControls());
        // As the program's window thread, so that the windows can hand screen readers objects.
        comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override {
        if (comInitialised_) {
            CoUninitialize();
        }
    }
    ~Win32WindowTest() override {
        UiLangId.store(0);
        bUpgrading.store(false);
    }

    // Runs the main window on this thread while `steps` run on a thread of their own, as the
    // upgrade worker would; the steps start once the window exists. A window the steps leave
    // open is ended, so that a failing test cannot hang. Returns DoModal's result.
    int RunMainWindow(std::uint16_t language, const std::function<void(HWND)>& steps,
                      MainWindowHooks hooks = {}) {
        Win32SurfaceFactory factory(program_.module());
        surface_.emplace(kMainDialogTemplate, program_.module());
        hooks.selectLanguage = [language] { UiLangId.store(language); };
        CVevaVoRirizevDlg dialog(*surface_, factory, std::move(hooks));
        std::thread driver([&] {
            if (!Eventually([&] { return surface_->RunOnWindowThread([] {}); })) {
                ADD_FAILURE() << "the main window did not appear";
                return;
            }
            steps(surface_->Window());
            bUpgrading.store(false);
            surface_->RunOnWindowThread([&] { surface_->EndDialog(-99); });
        });
        const int result = dialog.DoModal();
        driver.join();
        return result;
    }

    // On the window thread, as every look of a control must be read.
    template <typename T>
    T OnWindow(const std::function<T()>& read) {
        T value{};
        surface_->RunOnWindowThread([&] { value = read(); });
        return value;
    }
    HWND Item(int id) { return surface_->Control(id); }
    bool Visible(int id) { return IsWindowVisible(Item(id)) != FALSE; }

    // Reads each window of `expected` through MSAA on the window thread and compares name,
    // description and role; prints what it read, for the cases the test does not pin.
    struct Read {
        const char* what;
        HWND window;
        LONG role;
        std::wstring name;
        std::optional<std::wstring> description = std::nullopt;
        bool focused = false;
    };
    void ExpectMsaa(const std::vector<Read>& expected) {
        for (const Read& want : expected) {
            const Msaa read = OnWindow<Msaa>([&] { return ReadMsaa(want.window); });
            std::cout << "msaa " << want.what << ": " << read << "\n";
            EXPECT_EQ(read.found, S_OK) << want.what;
            EXPECT_EQ(read.name, want.name) << want.what;
            // Windows gives each standard control the role of its class. Wine's client object
            // gives ROLE_SYSTEM_CLIENT to all of them but the edit box, so that is let pass.
            EXPECT_TRUE(read.role == want.role || read.role == ROLE_SYSTEM_CLIENT)
                << want.what << ": role " << read.role;
            if (want.description) {
                EXPECT_EQ(read.description, *want.description) << want.what;
            }
            if (want.focused) {
                EXPECT_NE(read.state & STATE_SYSTEM_FOCUSED, 0) << want.what;
            }
        }
    }

    testing::ProgramResources program_;
    std::optional<Win32DialogSurface> surface_;
    bool comInitialised_ = false;
};

// Every control a user meets, named for a screen reader in every look: the ones that show no
// text of their own (tips box, progress bar, pictures) by the names the window logic gives them.
TEST_F(Win32WindowTest, ScreenReadersReadEveryControlByNameAndRole) {
    std::atomic<int> answer{0};
    RunMainWindow(LANG_ENGLISH, [&](HWND window) {
        const std::wstring title = L"Viruzu  Firmware Upgrade Tool";
        ExpectMsaa(
            {{"window", window, ROLE_SYSTEM_DIALOG, title},
             {"Start", Item(kIdStart), ROLE_SYSTEM_PUSHBUTTON, L"Start to upgrade", {}, true},
             {"tips box", Item(kIdTips), ROLE_SYSTEM_TEXT, L"Tips"},
             {"notice", Item(kIdNotice), ROLE_SYSTEM_STATICTEXT, GetLangText(TXT_STEPS)}});

        CVevaVoRirizevDlg* const main = pMainDlg.load();
        ASSERT_NE(main, nullptr);
        main->LockWindow();
        main->ShowUpgradeStatus(STATUS_TRANSFER, 40);
        const std::wstring transmitting = GetLangText(TXT_TRANSMITTING);
        ExpectMsaa({{"status line", Item(kIdStatus), ROLE_SYSTEM_STATICTEXT, transmitting},
                    {"progress bar", Item(kIdProgress), ROLE_SYSTEM_PROGRESSBAR, transmitting}});

        // A question, read while it waits for its answer.
        std::thread worker([&answer] {
            answer.store(ShowMsgDlg(GetLangText(TXT_VERSION_SAME).c_str(), MSG_MODE_YESNO));
        });
        HWND question = nullptr;
        Eventually([&] {
            question = OnWindow<HWND>([] { return GetActiveWindow(); });
            return question != nullptr && question != window;
        });
        const std::wstring same = GetLangText(TXT_VERSION_SAME);
        ExpectMsaa(
            {{"question", question, ROLE_SYSTEM_DIALOG, title, same},
             {"warning picture", GetDlgItem(question, kIdUnaddressed), ROLE_SYSTEM_GRAPHIC, same},
             {"message", GetDlgItem(question, kIdMessageText), ROLE_SYSTEM_STATICTEXT, same},
             {"Yes", GetDlgItem(question, kIdYes), ROLE_SYSTEM_PUSHBUTTON, L"Yes"},
             {"No", GetDlgItem(question, kIdNo), ROLE_SYSTEM_PUSHBUTTON, L"No", {}, true}});
        // No is the default button: Return with no button focused answers No.
        EXPECT_EQ(LOWORD(SendMessageW(question, DM_GETDEFID, 0, 0)), kIdNo);
        EXPECT_NE(GetWindowLongPtrW(GetDlgItem(question, kIdNo), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
        PostMessageW(GetDlgItem(question, kIdNo), WM_KEYDOWN, VK_ESCAPE, 0);
        worker.join();
        EXPECT_EQ(answer.load(), MSG_RESULT_NO);

        main->ShowUpgradeStatus(STATUS_SUCCEEDED, 100);
        const std::wstring succeeded = GetLangText(TXT_SUCCEEDED);
        ExpectMsaa({{"result line", Item(kIdResult), ROLE_SYSTEM_STATICTEXT, succeeded},
                    {"result picture", Item(kIdResultPicture), ROLE_SYSTEM_GRAPHIC, succeeded},
                    {"Complete", Item(kIdExit), ROLE_SYSTEM_PUSHBUTTON, L"Complete",
                     succeeded + L" " + GetLangText(TXT_KEEP_POWER_ON) + L" " +
                         GetLangText(TXT_NEW_DRIVER),
                     true}});
        EXPECT_EQ(OnWindow<HWND>([] { return GetFocus(); }), Item(kIdExit));
    });
}

TEST_F(Win32WindowTest, IdleLookThenTransferThenSuccessEndingWithExit) {
    const int result = RunMainWindow(LANG_ENGLISH, [&](HWND window) {
        EXPECT_EQ(ClassName(window), kMainWindowClass);
        EXPECT_EQ(surface_->GetText(kIdTips), GetLangText(TXT_TIPS) + std::wstring(kSeriesList));
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        EXPECT_STREQ(title, L"Viruzu  Firmware Upgrade Tool");
        EXPECT_TRUE(Visible(kIdTips));
        EXPECT_TRUE(Visible(kIdNotice));
        EXPECT_TRUE(Visible(kIdStart));
        EXPECT_FALSE(Visible(kIdExit));
        EXPECT_FALSE(Visible(kIdPrinters));
        EXPECT_EQ(OnWindow<HWND>([] { return GetFocus(); }), Item(kIdStart));
        EXPECT_TRUE(OnWindow<bool>([&] { return surface_->HasCloseMenuItem(); }));
        EXPECT_FALSE(
            OnWindow<std::wstring>([&] { return surface_->CloseMenuItemCaption(); }).empty());

        // The template is the one sized in dialog units; the logic's pixels land unscaled at
        // 96 DPI, moved to the English layout.
        RECT units{0, 0, kMainDialogTemplate.width, kMainDialogTemplate.height};
        MapDialogRect(window, &units);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        const RECT tips = ChildRect(Item(kIdTips));
        EXPECT_EQ((std::vector<LONG>{tips.left, tips.top, tips.right, tips.bottom}),
                  (std::vector<LONG>{30, 20, 430, 190}));
        EXPECT_NE(GetWindowLongPtrW(Item(kIdTips), GWL_STYLE) & ES_READONLY, 0);

        // Fonts are made from their descriptions, one handle for both texts.
        const auto notice =
            reinterpret_cast<HFONT>(SendMessageW(Item(kIdNotice), WM_GETFONT, 0, 0));
        EXPECT_EQ(notice, reinterpret_cast<HFONT>(SendMessageW(Item(kIdTips), WM_GETFONT, 0, 0)));
        LOGFONTW font{};
        GetObjectW(notice, sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, -13);
        EXPECT_STREQ(font.lfFaceName, L"宋体");
        LOGFONTW bold{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Item(kIdResult), WM_GETFONT, 0, 0)),
                   sizeof(bold), &bold);
        EXPECT_EQ(bold.lfWeight, 700);
        EXPECT_EQ(bold.lfHeight, 15);

        // From the worker: transfer reports move the bar.
        CVevaVoRirizevDlg* const main = pMainDlg.load();
        ASSERT_NE(main, nullptr);
        main->LockWindow();
        EXPECT_FALSE(OnWindow<bool>([&] { return surface_->HasCloseMenuItem(); }));
        main->ShowUpgradeStatus(STATUS_TRANSFER, 40);
        EXPECT_EQ(SendMessageW(Item(kIdProgress), PBM_GETPOS, 0, 0), 40);
        EXPECT_EQ(SendMessageW(Item(kIdProgress), PBM_GETRANGE, TRUE, 0), 1);
        EXPECT_EQ(SendMessageW(Item(kIdProgress), PBM_GETRANGE, FALSE, 0), 100);
        EXPECT_TRUE(Visible(kIdProgress));
        EXPECT_TRUE(Visible(kIdStatus));
        EXPECT_FALSE(Visible(kIdTips));
        EXPECT_FALSE(Visible(kIdStart));
        EXPECT_EQ(surface_->GetText(kIdStatus), GetLangText(TXT_TRANSMITTING));

        main->ShowUpgradeStatus(STATUS_SUCCEEDED, 100);
        EXPECT_FALSE(Visible(kIdProgress));
        EXPECT_TRUE(Visible(kIdExit));
        EXPECT_EQ(surface_->GetText(kIdExit), L"Complete");
        EXPECT_TRUE(OnWindow<bool>([&] { return surface_->HasCloseMenuItem(); }));
        const HWND picture = Item(kIdResultPicture);
        EXPECT_TRUE(IsWindowVisible(picture));
        EXPECT_NE(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        RECT pictureRect;
        GetClientRect(picture, &pictureRect);
        EXPECT_EQ(pictureRect.right, 98);  // a picture takes its bitmap's size
        EXPECT_EQ(pictureRect.bottom, 93);
        EXPECT_EQ(GetWindowLongPtrW(Item(kIdMessage), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);

        PostMessageW(Item(kIdExit), BM_CLICK, 0, 0);
        EXPECT_TRUE(Eventually([&] { return surface_->Window() == nullptr; }));
        EXPECT_FALSE(surface_->RunOnWindowThread([] {})) << "a request after the window went";
    });
    EXPECT_EQ(result, kIdExit);
    EXPECT_EQ(pMainDlg.load(), nullptr);
}

// Printers plugged in and pulled at idle reach the list on the window's own timer, which asks
// the arrival watch every half second.
TEST_F(Win32WindowTest, TheIdleListFollowsTheArrivalWatchOnTheWindowsTimer) {
    class CountedWatch final : public ArrivalWatch {
      public:
        explicit CountedWatch(std::atomic<std::uint64_t>& changes) : changes_(changes) {}
        std::uint64_t Changes() override { return changes_.load(); }

      private:
        std::atomic<std::uint64_t>& changes_;
    };
    std::atomic<std::uint64_t> changes{0};
    std::mutex mutex;
    DeviceList attached;
    const DeviceEntry printer{.ModelName = L"Viruzu TQ3800HKR Series",
                              .PortName = L"USB001",
                              .InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0001",
                              .InterfacePath = L"path-1"};
    RunMainWindow(LANG_ENGLISH,
                  [&](HWND) {
                      EXPECT_FALSE(Visible(kIdPrinters));
                      {
                          const std::lock_guard<std::mutex> lock(mutex);
                          attached = {printer, printer};
                          attached[1].PortName = L"USB002";
                          attached[1].InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0002";
                          attached[1].InterfacePath = L"path-2";
                      }
                      ++changes;
                      const auto count = [&] {
                          return OnWindow<LRESULT>(
                              [&] { return SendMessageW(Item(kIdPrinters), CB_GETCOUNT, 0, 0); });
                      };
                      EXPECT_TRUE(Eventually([&] { return count() == 2; }));
                      EXPECT_TRUE(Visible(kIdPrinters));
                      EXPECT_FALSE(IsWindowEnabled(Item(kIdStart))) << "none chosen of two";
                  },
                  {.listPrinters =
                       [&] {
                           const std::lock_guard<std::mutex> lock(mutex);
                           return attached;
                       },
                   .watchArrivals = [&] { return std::make_unique<CountedWatch>(changes); }});
}

TEST_F(Win32WindowTest, WhileARunIsActiveNothingClosesTheMainWindow) {
    const int result = RunMainWindow(LANG_ENGLISH, [&](HWND window) {
        bUpgrading.store(true);
        pMainDlg.load()->LockWindow();
        PostMessageW(Item(kIdNotice), WM_KEYDOWN, VK_ESCAPE, 0);
        // Posted messages are handled in order: once the bar has moved, the key has been seen.
        PostMessageW(Item(kIdProgress), PBM_SETPOS, 77, 0);
        EXPECT_TRUE(
            Eventually([&] { return SendMessageW(Item(kIdProgress), PBM_GETPOS, 0, 0) == 77; }));
        SendMessageW(window, WM_CLOSE, 0, 0);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        SendMessageW(Item(kIdExit), BM_CLICK, 0, 0);
        EXPECT_TRUE(surface_->RunOnWindowThread([] {})) << "the window closed during a run";
        EXPECT_FALSE(IsWindowEnabled(Item(kIdStart)));

        // Once the run is over, Escape ends the idle window as the close item would.
        bUpgrading.store(false);
        pMainDlg.load()->UnlockWindow();
        PostMessageW(Item(kIdNotice), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(Eventually([&] { return surface_->Window() == nullptr; }));
    });
    EXPECT_EQ(result, kIdExit);
}

// The guard the upgrade run holds while it writes, tied to the main window as the program ties it.
TEST_F(Win32WindowTest, TheSessionEndIsRefusedWhileTheTransferGuardLivesAndOnlyThen) {
    RunMainWindow(LANG_ENGLISH, [&](HWND window) {
        const auto sessionMayEnd = [window] {
            return SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
        };
        EXPECT_TRUE(sessionMayEnd());
        WindowSessionEnd sessionEnd(*surface_);
        {
            const std::unique_ptr<TransferGuard> guard = MakeHostTransferGuard(&sessionEnd);
            EXPECT_FALSE(sessionMayEnd());
            // The window still answers everything else.
            EXPECT_TRUE(surface_->RunOnWindowThread([] {}));
        }
        EXPECT_TRUE(sessionMayEnd());
        // A second run holds it off again.
        {
            const std::unique_ptr<TransferGuard> guard = MakeHostTransferGuard(&sessionEnd);
            EXPECT_FALSE(sessionMayEnd());
        }
        EXPECT_TRUE(sessionMayEnd());
    });
}

TEST_F(Win32WindowTest, QuestionsFromTheWorkerRunOnTheWindowThreadOverADisabledOwner) {
    std::atomic<int> answer{0};
    const int result = RunMainWindow(LANG_ENGLISH, [&](HWND window) {
        const auto ask = [&](int mode) {
            answer.store(0);
            return std::thread([&answer, mode] {
                answer.store(ShowMsgDlg(L"The printer port is occupied & busy.", mode));
            });
        };
        // The message dialog: a visible window owned by the main window.
        const auto openQuestion = [&] {
            struct Search {
                HWND owner;
                HWND found;
            } search{window, nullptr};
            const auto find = [](HWND candidate, LPARAM lParam) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lParam);
                if (GetWindow(candidate, GW_OWNER) == s->owner && IsWindowVisible(candidate)) {
                    s->found = candidate;
                    return FALSE;
                }
                return TRUE;
            };
            Eventually([&] {
                EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), find,
                                  reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            });
            return search.found;
        };

        std::thread worker = ask(MSG_MODE_YESNO);
        HWND question = openQuestion();
        if (question == nullptr) {
            ADD_FAILURE() << "no message dialog appeared";
            worker.detach();
            return;
        }
        EXPECT_EQ(GetWindowThreadProcessId(question, nullptr),
                  GetWindowThreadProcessId(window, nullptr));
        EXPECT_FALSE(IsWindowEnabled(window));
        wchar_t text[64] = {};
        GetDlgItemTextW(question, kIdMessageText, text, 64);
        EXPECT_STREQ(text, L"The printer port is occupied & busy.");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(question, kIdOk)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(question, kIdYes)));
        EXPECT_EQ(OnWindow<HWND>([] { return GetFocus(); }), GetDlgItem(question, kIdNo));
        EXPECT_EQ(GetWindowLongPtrW(question, GWL_STYLE) & WS_SYSMENU, 0);
        SendMessageW(GetDlgItem(question, kIdYes), BM_CLICK, 0, 0);
        worker.join();
        EXPECT_EQ(answer.load(), MSG_RESULT_YES);
        EXPECT_TRUE(IsWindowEnabled(window));

        // Escape dismisses a question as No.
        worker = ask(MSG_MODE_YESNO);
        question = openQuestion();
        PostMessageW(GetDlgItem(question, kIdNo), WM_KEYDOWN, VK_ESCAPE, 0);
        worker.join();
        EXPECT_EQ(answer.load(), MSG_RESULT_NO);

        // Return on a notice confirms it.
        worker = ask(MSG_MODE_OK);
        question = openQuestion();
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(question, kIdOk)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(question, kIdYes)));
        PostMessageW(GetDlgItem(question, kIdOk), WM_KEYDOWN, VK_RETURN, 0);
        worker.join();
        EXPECT_EQ(answer.load(), MSG_RESULT_OK);
        EXPECT_TRUE(IsWindowEnabled(window));
    });
    EXPECT_EQ(result, -99);
}

class Win32RightToLeftTest : public Win32WindowTest,
                            public ::testing::WithParamInterface<std::uint16_t> {};

TEST_P(Win32RightToLeftTest, ReadsRightToLeftAndKeepsItsFrame) {
    RunMainWindow(GetParam(), [&](HWND window) {
        const auto exStyle = [](HWND w) { return GetWindowLongPtrW(w, GWL_EXSTYLE); };
        EXPECT_NE(exStyle(window) & WS_EX_RTLREADING, 0);
        EXPECT_NE(exStyle(window) & WS_EX_APPWINDOW, 0) << "the task-bar button stays";
        EXPECT_NE(exStyle(Item(kIdTips)) & WS_EX_RTLREADING, 0);
        EXPECT_EQ(GetWindowLongPtrW(Item(kIdTips), GWL_STYLE) & ES_RIGHT, ES_RIGHT);
        EXPECT_NE(exStyle(Item(kIdProgress)) & WS_EX_LAYOUTRTL, 0);
        EXPECT_EQ(GetWindowLongPtrW(Item(kIdMessage), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);

        pMainDlg.load()->ShowUpgradeStatus(STATUS_NOT_READY, 0);
        EXPECT_EQ(GetWindowLongPtrW(Item(kIdMessage), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
        EXPECT_NE(exStyle(Item(kIdMessage)) & WS_EX_RTLREADING, 0);
        EXPECT_TRUE(Visible(kIdMessage));
        EXPECT_EQ(surface_->GetText(kIdExit), GetLangText(TXT_EXIT));
        EXPECT_NE(GetLangText(TXT_EXIT), L"Exit");
    });
}

INSTANTIATE_TEST_SUITE_P(Languages, Win32RightToLeftTest,
                         ::testing::Values(LANG_HEBREW, LANG_ARABIC),
                         [](const auto& info) {
                             return info.param == LANG_HEBREW ? "Hebrew" : "Arabic";
                         });

// The mutex name is English; the title is in the user's language. The window is found by its
// class, and brought back from the task bar.
TEST_F(Win32WindowTest, SecondInstanceFindsAndRestoresTheWindowWhateverItsTitle) {
    RunMainWindow(LANG_ITALIAN, [&](HWND window) {
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        EXPECT_STRNE(title, L"Viruzu  Firmware Upgrade Tool");
        EXPECT_EQ(FindWindowW(nullptr, AppMutexName().c_str()), nullptr);
        EXPECT_EQ(FindRunningMainWindow(), window);

        ShowWindow(window, SW_MINIMIZE);
        EXPECT_TRUE(Eventually([&] { return IsIconic(window) != FALSE; }));
        BringRunningWindowForward(window);
        EXPECT_TRUE(Eventually([&] { return IsIconic(window) == FALSE; }));
        EXPECT_TRUE(IsWindowVisible(window));
    });
}

}  // namespace
}  // namespace fwup
