#include "ui/upgrade_start.h"

#include <system_error>

#include "log/notice_output.h"
#include "ui/main_window.h"
#include "ui/window_front_end.h"
#include "upgrade/run_status.h"

namespace fwup {

bool UpgradeWorker::Start(CVevaVoRirizevDlg& window) {
    // Taken here, on the window thread, rather than by the worker: a second click arriving
    // before the worker has begun would otherwise start a second run.
    bool idle = false;
    if (!bUpgrading.compare_exchange_strong(idle, true)) {
        return false;
    }
    // The previous run cleared bUpgrading as its last step, so this returns at once.
    Wait();
    try {
        // The printer is taken as the user saw it when pressing Start, by its whole identity.
        thread_ = std::thread(
            [&window, pin = window.ChosenPrinter()] { UpgradeThreadProc(&window, pin); });
    } catch (const std::system_error&) {
        bUpgrading.store(false);
        DebugOutput(L"viruzu-fwup: the upgrade could not be started (no thread)\r\n");
        return false;
    }
    return true;
}

void UpgradeWorker::Wait() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

void OnBnClickedStart(CVevaVoRirizevDlg& window, UpgradeWorker& worker) {
    worker.Start(window);
}

}  // namespace fwup
