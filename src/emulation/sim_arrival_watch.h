#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "device/printer_arrivals.h"
#include "emulation/sim_hotplug.h"
#include "emulation/sim_printer.h"

namespace fwup {

// Sees a scenario's printers come and go the way a window polling it would: each call acts on
// the timed triggers that have come due, then counts every printer whose presence differs from
// what the previous call saw. So it also counts a printer pulled by a write (`leaves`,
// `unplugAtByte`) and one away flashing and back (`afterFirmware`), as long as the change lasts
// until the next call.
class SimArrivalWatch final : public ArrivalWatch {
  public:
    // `hotplug` may be null (no printer of the scenario has a trigger).
    SimArrivalWatch(std::vector<std::shared_ptr<SimPrinter>> printers,
                    std::shared_ptr<SimHotplug> hotplug);

    std::uint64_t Changes() override;

  private:
    const std::vector<std::shared_ptr<SimPrinter>> printers_;
    const std::shared_ptr<SimHotplug> hotplug_;
    std::mutex mutex_;
    std::vector<bool> present_;  // guarded by mutex_
    std::uint64_t changes_ = 0;  // guarded by mutex_
};

}  // namespace fwup
