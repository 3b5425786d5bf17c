#pragma once

#include <memory>

#include "device/channel.h"
#include "emulation/sim_hotplug.h"
#include "emulation/sim_printer.h"

namespace fwup {

// A channel on a simulated printer. Each call is handed to the printer; after Close (or the
// channel's destruction) every call fails, as on a closed handle.
class SimChannel final : public Channel {
  public:
    // `printer` must have accepted the open (SimPrinter::TryOpen). `hotplug`, when given, hears of
    // every write.
    explicit SimChannel(std::shared_ptr<SimPrinter> printer,
                        std::shared_ptr<SimHotplug> hotplug = nullptr);
    ~SimChannel() override;
    SimChannel(const SimChannel&) = delete;
    SimChannel& operator=(const SimChannel&) = delete;

    long Write(std::span<const std::uint8_t> bytes) override;
    long Read(std::span<std::uint8_t> buffer) override;
    VendorReply VendorRequest(std::span<const std::uint8_t, 3> input,
                              std::span<std::uint8_t> output) override;
    void Close() override;

  private:
    std::shared_ptr<SimPrinter> printer_;  // null once closed
    std::shared_ptr<SimHotplug> hotplug_;
};

}  // namespace fwup
