#pragma once

#include <thread>

namespace fwup {

class CVevaVoRirizevDlg;

// The one upgrade worker of the program. It belongs to start-up and must be waited for before
// the main window object is destroyed: the window refuses to close while a run is active, but the
// worker's last instructions (after it cleared bUpgrading) may still be running then.
class UpgradeWorker {
  public:
    UpgradeWorker() = default;
    ~UpgradeWorker() { Wait(); }
    UpgradeWorker(const UpgradeWorker&) = delete;
    UpgradeWorker& operator=(const UpgradeWorker&) = delete;

    // Window thread. Takes bUpgrading and starts UpgradeThreadProc on a new thread, unless a run
    // is active; returns whether a run was started. Never waits for a run.
    bool Start(CVevaVoRirizevDlg& window);

    // Blocks until the run started last, if any, has returned.
    void Wait();

  private:
    std::thread thread_;
};

// The Start button's handler (window thread): a run on `worker`, or nothing while one is active.
void OnBnClickedStart(CVevaVoRirizevDlg& window, UpgradeWorker& worker);

}  // namespace fwup
