#include "emulation/sim_arrival_watch.h"

#include <utility>

namespace fwup {

SimArrivalWatch::SimArrivalWatch(std::vector<std::shared_ptr<SimPrinter>> printers,
                                 std::shared_ptr<SimHotplug> hotplug)
    : printers_(std::move(printers)), hotplug_(std::move(hotplug)) {
    if (hotplug_) {
        hotplug_->NoteTime();
    }
    present_.reserve(printers_.size());
    for (const auto& printer : printers_) {
        present_.push_back(printer->present());
    }
}

std::uint64_t SimArrivalWatch::Changes() {
    if (hotplug_) {
        hotplug_->NoteTime();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        const bool present = printers_[i]->present();
        if (present != present_[i]) {
            present_[i] = present;
            ++changes_;
        }
    }
    return changes_;
}

}  // namespace fwup
