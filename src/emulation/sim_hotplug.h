#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "emulation/sim_printer.h"

namespace fwup {

// Plugs in and pulls the printers of one scenario as their `appears` and `leaves` triggers come
// due. The interface source reports every open it grants and each channel every write, so a
// trigger acts before the host can look at the interfaces again; timed triggers act whenever
// anyone looks (a listing, an open, an arrival watch).
class SimHotplug {
  public:
    // `startMs`: the monotonic clock time the timed triggers count from.
    SimHotplug(std::vector<std::shared_ptr<SimPrinter>> printers, std::int64_t startMs);
    SimHotplug(const SimHotplug&) = delete;
    SimHotplug& operator=(const SimHotplug&) = delete;

    // True when some printer of the scenario has a trigger at all.
    static bool Needed(const std::vector<std::shared_ptr<SimPrinter>>& printers);

    // After the host was granted a channel on one of the printers.
    void NoteOpen();
    // After a write to one of the printers returned.
    void NoteWrite();
    // Before the printers are looked at: acts on the timed triggers that have come due.
    void NoteTime();

  private:
    void UpdateLocked();

    std::mutex mutex_;
    const std::vector<std::shared_ptr<SimPrinter>> printers_;
    const std::int64_t startMs_;
    std::uint64_t opens_ = 0;  // guarded by mutex_
};

}  // namespace fwup
