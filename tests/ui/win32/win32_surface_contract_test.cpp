// The dialog surface contract on real Win32 windows made from the built program's templates. The
// user is played from a thread of its own, as the upgrade worker would be, while the test's thread
// runs the modal loop. Skipped without a display; scripts/win32-ui-smoke.sh runs these.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/dialog_surface_contract.h"
#include "ui/win32/program_resources.h"
#include "ui/win32/test_windows.h"
#include "ui/win32/win32_dialog_surface.h"

namespace fwup::testing {
namespace {

class Win32Harness {
  public:
    static constexpr bool kTasksRunOnTheWindowThread = true;
    static constexpr bool kSelectingPastTheEndClears = false;

    std::string Unready() {
        if (!CanMakeWindows()) {
            return "no display for windows; scripts/win32-ui-smoke.sh runs these";
        }
        if (program_.module() == nullptr) {
            ADD_FAILURE() << "cannot load " << FWUP_WIN32_PROGRAM;
            return "no program";
        }
        if (!RegisterCommonControls()) {
            ADD_FAILURE() << "no common controls";
            return "no common controls";
        }
        return "";
    }

    DialogSurface& Make(const DialogTemplate& dialog) {
        surfaces_.push_back(std::make_unique<Win32DialogSurface>(dialog, program_.module()));
        return *surfaces_.back();
    }

    int Run(const std::function<void()>& script) { return Drive(script, false); }
    int RunUntilEnded(const std::function<void()>& script) { return Drive(script, true); }
    void Went() {}

    void ClickExit() { SendMessageW(Surface().Control(kIdExit), BM_CLICK, 0, 0); }
    void PressEscape(const ContractListener& listener) {
        const int before = listener.cancels.load();
        PostMessageW(Surface().Control(kIdStart), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(Eventually([&] { return listener.cancels.load() != before; }));
    }
    void PlatformCancel() { SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); }
    int AskToClose(bool everyWay) {
        SendMessageW(window_, WM_CLOSE, 0, 0);
        if (!everyWay) {
            return 1;
        }
        SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 2;
    }
    bool WindowOpen() { return IsWindow(window_) != FALSE; }
    void OnWorker(const std::function<void()>& work) { std::thread(work).join(); }

    std::vector<std::wstring> ItemsOf(int id) {
        const HWND list = Surface().Control(id);
        std::vector<std::wstring> items;
        const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring text(
                static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(text.find(L'\0'));
            items.push_back(text);
        }
        return items;
    }

    // The key as the list gets it from the dialog's loop; the list tells the dialog on the window
    // thread before this returns.
    void PressDown(int id) { SendMessageW(Surface().Control(id), WM_KEYDOWN, VK_DOWN, 0); }
    // What the dialog manager moves the focus to on Tab.
    int NextByTab(int id) {
        int next = 0;
        Surface().RunOnWindowThread(
            [&] { next = GetDlgCtrlID(GetNextDlgTabItem(window_, Surface().Control(id), FALSE)); });
        return next;
    }

  private:
    Win32DialogSurface& Surface() { return *surfaces_.back(); }

    // The modal loop on this thread, the script on a driver thread once the window exists. A
    // window the script leaves open is ended, so that a failing test cannot hang; one the script
    // ends is given time to go first, for EndDialog keeps the last result it is given.
    int Drive(const std::function<void()>& script, bool scriptEnds) {
        Win32DialogSurface& surface = Surface();
        std::thread driver([&] {
            if (!Eventually([&] { return surface.RunOnWindowThread([] {}); })) {
                ADD_FAILURE() << "the window did not appear";
                return;
            }
            window_ = surface.Window();
            script();
            if (!scriptEnds || !Eventually([&] { return surface.Window() == nullptr; })) {
                surface.RunOnWindowThread([&] { surface.EndDialog(kContractAbandoned); });
            }
        });
        const int result = surface.RunModal();
        driver.join();
        return result;
    }

    ProgramResources program_;
    std::vector<std::unique_ptr<Win32DialogSurface>> surfaces_;
    HWND window_ = nullptr;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32WindowTest, DialogSurfaceContract, Win32Harness);

}  // namespace fwup::testing
