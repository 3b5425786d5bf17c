// The printer list on a real Win32 dialog made from the program's main template: the keyboard as
// the dialog's loop hands it on, the look, and what a screen reader reads. What every surface
// promises of the list is the contract's (dialog_surface_contract.h). Windows need a display:
// scripts/win32-ui-smoke.sh runs these.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "ui/dialog_templates.h"
#include "ui/win32/program_resources.h"
#include "ui/win32/test_windows.h"
#include "ui/win32/win32_dialog_surface.h"

namespace fwup {
namespace {

using testing::Eventually;

constexpr int kBox = 3001;

// Keeps the selection the list had when each choice was reported, to hold it against the list's.
class ListListener final : public DialogListener {
  public:
    Win32DialogSurface* surface = nullptr;
    std::atomic<int> choices{0};
    std::atomic<int> reportedSelection{-2};
    std::atomic<int> cancels{0};
    std::atomic<int> commands{0};

    void OnInit() override {}
    void OnCommand(int) override { commands.fetch_add(1); }
    void OnCancel() override { cancels.fetch_add(1); }
    bool OnCloseRequest() override { return false; }
    void OnSelectionChange(int id) override {
        EXPECT_EQ(id, kIdPrinters);
        reportedSelection.store(surface->GetCurSel(id));
        choices.fetch_add(1);
    }
    void OnFocus() override {}
};

// What MSAA reads of a window's client object.
std::wstring MsaaText(HWND window, bool description) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return L"<none>";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT read =
        description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
    std::wstring taken = SUCCEEDED(read) && text != nullptr ? std::wstring(text) : L"";
    SysFreeString(text);
    object->Release();
    return taken;
}

// The name changes told to assistive technology, as a screen reader hears of them.
std::atomic<HWND> renamedWindow{nullptr};
void CALLBACK OnNameChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                           DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) {
        renamedWindow.store(window);
    }
}

class Win32DropDownListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::CanMakeWindows()) {
            GTEST_SKIP() << "no display for windows; scripts/win32-ui-smoke.sh runs these";
        }
        ASSERT_NE(program_.module(), nullptr) << "cannot load " << FWUP_WIN32_PROGRAM;
        ASSERT_TRUE(testing::RegisterCommonControls());
        comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        listener_.surface = &surface_;
        surface_.SetListener(&listener_);
    }
    void TearDown() override {
        surface_.SetListener(nullptr);
        if (comInitialised_) {
            CoUninitialize();
        }
    }

    // The main window with the printer list shown, five entries, the first selected, after a
    // box made at run time in the Tab order, as the window's logic shows it; `steps` run on a
    // thread of their own while this one runs the modal loop.
    void Run(const std::function<void()>& steps) {
        std::thread driver([&] {
            if (!Eventually([&] { return surface_.RunOnWindowThread([] {}); })) {
                ADD_FAILURE() << "the window did not appear";
                return;
            }
            surface_.RunOnWindowThread([&] {
                surface_.CreateControl(
                    {.id = kBox,
                     .kind = ControlKind::kEdit,
                     .rect = {10, 20, 200, 60},
                     .style = kStyleBorder | kStyleTabStop | kStyleMultiLine | kStyleReadOnly});
                surface_.Show(kIdExit, false);
                surface_.Show(kIdPrinters, true);
                for (int i = 0; i < 5; ++i) {
                    surface_.InsertItem(kIdPrinters, i, L"Printer " + std::to_wstring(i + 1));
                }
                surface_.SetCurSel(kIdPrinters, 0);
                surface_.PlaceInFocusOrderAfter(kIdPrinters, kBox);
                surface_.SetFocus(kBox);
            });
            steps();
            surface_.RunOnWindowThread([&] { surface_.EndDialog(-99); });
        });
        surface_.RunModal();
        driver.join();
    }

    template <typename T>
    T OnWindow(const std::function<T()>& read) {
        T value{};
        surface_.RunOnWindowThread([&] { value = read(); });
        return value;
    }
    HWND List() { return surface_.Control(kIdPrinters); }
    // A key as the user presses it: into the window thread's queue, through the dialog's loop.
    void Press(HWND target, UINT key, bool alt = false) {
        PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 << 29) | 1 : 1);
    }
    bool Dropped() {
        return OnWindow<bool>([&] { return SendMessageW(List(), CB_GETDROPPEDSTATE, 0, 0) != 0; });
    }
    int Selection() {
        return OnWindow<int>([&] { return surface_.GetCurSel(kIdPrinters); });
    }

    testing::ProgramResources program_;
    Win32DialogSurface surface_{kMainDialogTemplate, program_.module()};
    ListListener listener_;
    bool comInitialised_ = false;
};

// Tab reaches the list after the box, the arrows choose, F4 and Alt+Down open it, and Escape or
// Return on the open list are the list's: the dialog is neither cancelled nor commanded. Whatever
// the list does on closing, the logic's last report is the list's selection.
TEST_F(Win32DropDownListTest, TheKeyboardReachesOpensAndClosesTheList) {
    Run([&] {
        Press(surface_.Control(kBox), VK_TAB);
        EXPECT_TRUE(
            Eventually([&] { return OnWindow<HWND>([] { return GetFocus(); }) == List(); }));

        Press(List(), VK_DOWN);
        EXPECT_TRUE(Eventually([&] { return listener_.choices.load() == 1; }));
        EXPECT_EQ(Selection(), 1);

        for (const bool alt : {false, true}) {
            SCOPED_TRACE(alt ? "Alt+Down, Return" : "F4, Down, Escape");
            Press(List(), alt ? VK_DOWN : VK_F4, alt);
            ASSERT_TRUE(Eventually([&] { return Dropped(); }));
            if (!alt) {
                Press(List(), VK_DOWN);
                EXPECT_TRUE(Eventually([&] { return listener_.choices.load() == 2; }));
            }
            Press(List(), alt ? VK_RETURN : VK_ESCAPE);
            // The list closes while it handles the key, which it has done by the time a request
            // sees it closed.
            EXPECT_TRUE(Eventually([&] { return !Dropped(); }));
            EXPECT_EQ(listener_.reportedSelection.load(), Selection());
        }
        EXPECT_EQ(listener_.cancels.load(), 0);
        EXPECT_EQ(listener_.commands.load(), 0);

        // Closed again, Escape is the dialog's.
        Press(List(), VK_ESCAPE);
        EXPECT_TRUE(Eventually([&] { return listener_.cancels.load() == 1; }));
    });
}

// Dropped, the list shows several entries in the dialog's font, and a list made at run time
// takes the same font. Right-to-left reading and right alignment reach the dropped entries too.
TEST_F(Win32DropDownListTest, TheListShowsSeveralEntriesInTheDialogsFontAndReadsRightToLeft) {
    Run([&] {
        surface_.RunOnWindowThread([&] {
            const HWND dialog = surface_.Window();
            const auto font = [](HWND window) { return SendMessageW(window, WM_GETFONT, 0, 0); };
            EXPECT_EQ(font(List()), font(dialog));
            surface_.CreateControl({.id = 3002,
                                    .kind = ControlKind::kDropDownList,
                                    .rect = {10, 100, 200, 100},
                                    .style = kStyleTabStop});
            EXPECT_EQ(font(surface_.Control(3002)), font(dialog));

            SendMessageW(List(), CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            ASSERT_TRUE(GetComboBoxInfo(List(), &info));
            RECT dropped{};
            GetWindowRect(info.hwndList, &dropped);
            const auto entry = static_cast<int>(SendMessageW(List(), CB_GETITEMHEIGHT, 0, 0));
            EXPECT_GE(dropped.bottom - dropped.top, 4 * entry);
            SendMessageW(List(), CB_SHOWDROPDOWN, FALSE, 0);

            constexpr LONG_PTR kReading = WS_EX_RTLREADING | WS_EX_RIGHT;
            const auto reading = [&](HWND window) {
                return GetWindowLongPtrW(window, GWL_EXSTYLE) & kReading;
            };
            surface_.ChangeStyle(kIdPrinters, kStyleNone, kStyleRtlReading | kStyleAlignRight);
            EXPECT_EQ(reading(List()), kReading);
            EXPECT_EQ(reading(info.hwndList), kReading);
            surface_.ChangeStyle(kIdPrinters, kStyleRtlReading | kStyleAlignRight, kStyleNone);
            EXPECT_EQ(reading(List()), 0);
            EXPECT_EQ(reading(info.hwndList), 0);
        });
    });
}

// The list is named on the combo box itself, which a screen reader reads, and a new name is
// announced on it.
TEST_F(Win32DropDownListTest, AScreenReaderReadsTheListsNameAndHearsItChange) {
    Run([&] {
        surface_.RunOnWindowThread([&] {
            const HWINEVENTHOOK hook =
                SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                &OnNameChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
            renamedWindow.store(nullptr);
            surface_.SetAccessibleName(kIdPrinters, L"Printer");
            surface_.SetAccessibleDescription(kIdPrinters, L"Choose the printer to upgrade.");
            EXPECT_EQ(MsaaText(List(), false), L"Printer");
            EXPECT_EQ(MsaaText(List(), true), L"Choose the printer to upgrade.");
            // Out-of-context events may come through this thread's queue.
            MSG message;
            for (int i = 0; i < 100 && renamedWindow.load() == nullptr; ++i) {
                PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
            }
            EXPECT_EQ(renamedWindow.load(), List());
            if (hook != nullptr) {
                UnhookWinEvent(hook);
            }
        });
    });
}

}  // namespace
}  // namespace fwup
