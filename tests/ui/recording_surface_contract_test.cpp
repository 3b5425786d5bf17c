// The recording fake the window logic's tests run on keeps the promises the real surfaces keep.
// It has no user: a user's action is the event it would bring.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fakes/recording_dialog_surface.h"
#include "ui/dialog_surface_contract.h"

namespace fwup::testing {
namespace {

class RecordingHarness {
  public:
    // The fake runs a task on the calling thread, holding off every other caller meanwhile.
    static constexpr bool kTasksRunOnTheWindowThread = false;
    static constexpr bool kSelectingPastTheEndClears = true;

    std::string Unready() { return ""; }

    DialogSurface& Make(const DialogTemplate& dialog) {
        surfaces_.push_back(std::make_unique<RecordingDialogSurface>(dialog));
        return *surfaces_.back();
    }

    int Run(const std::function<void()>& script) {
        RecordingDialogSurface& surface = Surface();
        surface.modalScript = [&script](RecordingDialogSurface& dialog) {
            script();
            if (!dialog.ended) {
                dialog.EndDialog(kContractAbandoned);
            }
        };
        return surface.RunModal();
    }
    int RunUntilEnded(const std::function<void()>& script) { return Run(script); }
    // The fake's window goes when its test says so.
    void Went() { Surface().windowGone = true; }

    void ClickExit() { Surface().FireCommand(kIdExit); }
    void PressEscape(const ContractListener&) { Surface().FireCancel(); }
    void PlatformCancel() { Surface().FireCancel(); }
    int AskToClose(bool) {
        Surface().FireCloseRequest();
        return 1;
    }
    bool WindowOpen() { return !Surface().ended; }
    void OnWorker(const std::function<void()>& work) { std::thread(work).join(); }
    std::vector<std::wstring> ItemsOf(int id) { return Surface().Control(id).items; }
    void PressDown(int id) {
        const RecordedControl& list = Surface().Control(id);
        const int last = static_cast<int>(list.items.size()) - 1;
        Surface().UserSelects(id, std::min(list.curSel + 1, last));
    }
    int NextByTab(int id) { return Surface().NextInTabOrder(id); }

  private:
    RecordingDialogSurface& Surface() { return *surfaces_.back(); }

    std::vector<std::unique_ptr<RecordingDialogSurface>> surfaces_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(RecordingSurface, DialogSurfaceContract, RecordingHarness);

}  // namespace fwup::testing
