#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/interface_source.h"
#include "emulation/scenario.h"
#include "emulation/sim_hotplug.h"
#include "emulation/sim_printer.h"

namespace fwup {

// The present USB printing interfaces of a scenario: one device with one interface per printer,
// in scenario order. A printer plugged in later joins the sets at its place in that order. An
// unplugged printer leaves later sets and cannot be opened; its own port number stays readable,
// as the registry keeps it, while port numbers by position only count the printers present.
class SimInterfaceSource final : public InterfaceSource {
  public:
    // A printer without an interface path gets the one Windows would derive from its instance ID.
    // The timed arrivals count from `epochMs` on the clock seam's monotonic time, or from now.
    explicit SimInterfaceSource(Scenario scenario, std::optional<std::int64_t> epochMs = {});

    std::size_t printerCount() const { return printers_.size(); }
    // The scenario's print queues, when it names any.
    const std::optional<std::vector<QueueScenario>>& printQueues() const { return printQueues_; }
    // The printer of the scenario's `index`th entry, or null past the end.
    SimPrinter* printer(std::size_t index) const;

    std::unique_ptr<DeviceInterfaceSet> OpenSet() override;
    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override;
    UsbChannel OpenInterface(const std::wstring& path) override;
    // Always a watch: besides the triggers, a printer flashing leaves and comes back.
    std::unique_ptr<ArrivalWatch> WatchArrivals() override;

  private:
    std::shared_ptr<SimPrinter> FindByPath(const std::wstring& path) const;

    std::vector<std::shared_ptr<SimPrinter>> printers_;
    bool portNumbersByPosition_ = false;
    // Null when no printer comes or goes. Its timed triggers count from this source's making.
    std::shared_ptr<SimHotplug> hotplug_;
    std::optional<std::vector<QueueScenario>> printQueues_;
    bool listFails_ = false;
};

}  // namespace fwup
