#include "emulation/sim_interface_source.h"

#include <string>
#include <utility>

#include "base/clock.h"
#include "device/usbprint_path.h"
#include "emulation/sim_arrival_watch.h"
#include "emulation/sim_channel.h"

namespace fwup {
namespace {

struct PresentInterface {
    std::wstring instanceId;
    std::wstring path;
};

// A snapshot: printers pulled after the set was made stay in it, as in a real device set.
class SimInterfaceSet final : public DeviceInterfaceSet {
  public:
    explicit SimInterfaceSet(std::vector<PresentInterface> present)
        : present_(std::move(present)) {}

    SetLookup DeviceInstanceId(std::uint32_t deviceIndex, std::wstring& instanceId) override {
        if (deviceIndex >= present_.size()) {
            return SetLookup::kEnd;
        }
        instanceId = present_[deviceIndex].instanceId;
        return SetLookup::kFound;
    }

    InterfaceLookup DeviceInterfacePath(std::uint32_t deviceIndex, std::wstring& path) override {
        if (deviceIndex >= present_.size()) {
            return InterfaceLookup::kNoInterface;
        }
        path = present_[deviceIndex].path;
        return InterfaceLookup::kFound;
    }

  private:
    std::vector<PresentInterface> present_;
};

}  // namespace

SimInterfaceSource::SimInterfaceSource(Scenario scenario, std::optional<std::int64_t> epochMs)
    : portNumbersByPosition_(scenario.portNumbersByPosition),
      printQueues_(std::move(scenario.printQueues)),
      listFails_(scenario.listFails) {
    printers_.reserve(scenario.printers.size());
    for (PrinterScenario& printer : scenario.printers) {
        if (printer.interfacePath.empty()) {
            printer.interfacePath = DefaultUsbPrintPath(printer.instanceId);
        }
        printers_.push_back(std::make_shared<SimPrinter>(std::move(printer), scenario.stateFile));
    }
    if (SimHotplug::Needed(printers_)) {
        hotplug_ =
            std::make_shared<SimHotplug>(printers_, epochMs.value_or(ActiveClock().MonotonicMs()));
    }
}

SimPrinter* SimInterfaceSource::printer(std::size_t index) const {
    return index < printers_.size() ? printers_[index].get() : nullptr;
}

std::unique_ptr<DeviceInterfaceSet> SimInterfaceSource::OpenSet() {
    if (listFails_) {
        return nullptr;
    }
    if (hotplug_) {
        hotplug_->NoteTime();
    }
    std::vector<PresentInterface> present;
    for (const auto& printer : printers_) {
        if (printer->present()) {
            present.push_back({printer->scenario().instanceId, printer->scenario().interfacePath});
        }
    }
    return std::make_unique<SimInterfaceSet>(std::move(present));
}

std::optional<std::uint32_t> SimInterfaceSource::PortNumber(const std::wstring& path) {
    if (!portNumbersByPosition_) {
        const std::shared_ptr<SimPrinter> printer = FindByPath(path);
        return printer ? printer->scenario().portNumber : std::nullopt;
    }
    std::uint32_t position = 0;
    for (const auto& printer : printers_) {
        if (printer->present()) {
            ++position;
            if (printer->scenario().interfacePath == path) {
                return position;
            }
        }
    }
    return std::nullopt;
}

UsbChannel SimInterfaceSource::OpenInterface(const std::wstring& path) {
    if (hotplug_) {
        hotplug_->NoteTime();
    }
    std::shared_ptr<SimPrinter> printer = FindByPath(path);
    if (!printer || !printer->TryOpen()) {
        return nullptr;
    }
    auto channel = std::make_unique<SimChannel>(std::move(printer), hotplug_);
    if (hotplug_) {
        hotplug_->NoteOpen();
    }
    return channel;
}

std::unique_ptr<ArrivalWatch> SimInterfaceSource::WatchArrivals() {
    return std::make_unique<SimArrivalWatch>(printers_, hotplug_);
}

std::shared_ptr<SimPrinter> SimInterfaceSource::FindByPath(const std::wstring& path) const {
    for (const auto& printer : printers_) {
        if (printer->scenario().interfacePath == path) {
            return printer;
        }
    }
    return nullptr;
}

}  // namespace fwup
