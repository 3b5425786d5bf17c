#include "emulation/sim_hotplug.h"

#include <utility>

#include "base/clock.h"

namespace fwup {

SimHotplug::SimHotplug(std::vector<std::shared_ptr<SimPrinter>> printers, std::int64_t startMs)
    : printers_(std::move(printers)), startMs_(startMs) {}

bool SimHotplug::Needed(const std::vector<std::shared_ptr<SimPrinter>>& printers) {
    for (const auto& printer : printers) {
        if (printer->scenario().appears.set() || printer->scenario().leaves.set()) {
            return true;
        }
    }
    return false;
}

void SimHotplug::NoteOpen() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++opens_;
    UpdateLocked();
}

void SimHotplug::NoteWrite() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
}

void SimHotplug::NoteTime() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
}

// Takes each printer's own lock in turn, never two at once, and printers never call back here.
void SimHotplug::UpdateLocked() {
    std::uint64_t bytes = 0;
    for (const auto& printer : printers_) {
        bytes += printer->BytesReceived();
    }
    const std::int64_t elapsedMs = ActiveClock().MonotonicMs() - startMs_;
    for (const auto& printer : printers_) {
        const PrinterScenario& scenario = printer->scenario();
        if (scenario.appears.Due(opens_, bytes, elapsedMs)) {
            printer->PlugIn();
        }
        if (scenario.leaves.Due(opens_, bytes, elapsedMs)) {
            printer->Unplug();
        }
    }
}

}  // namespace fwup
