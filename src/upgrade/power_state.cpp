#include "upgrade/power_state.h"

#include <cmath>

#include "base/process_slot.h"
#include "log/tool_log.h"

namespace fwup {
namespace {

class UnknownPowerState final : public PowerStateSource {
  public:
    PowerState Read(const StopCheck&) override { return {}; }
};

ServiceSlot<PowerStateSource> installedSource;

}  // namespace

PowerStateSource& ActivePowerStateSource() {
    static UnknownPowerState unknown;
    return installedSource.Or(unknown);
}

PowerStateSource* SetActivePowerStateSource(PowerStateSource* source) {
    return installedSource.Exchange(source);
}

std::optional<int> LowBatteryCharge(const PowerState& state) {
    if (state.supply != PowerSupply::kBattery || !state.batteryPercent) {
        return std::nullopt;
    }
    const double percent = *state.batteryPercent;
    // A service that reports nonsense has said nothing.
    if (!std::isfinite(percent) || percent < 0.0 || percent > 100.0 ||
        percent >= kMinimumBatteryPercent) {
        return std::nullopt;
    }
    return static_cast<int>(std::floor(percent));
}

std::wstring LowBatteryReason(int percent) {
    return L"the computer runs on battery at " + std::to_wstring(percent) + L" %";
}

PowerCheck CheckPowerBeforeRun(const StopCheck& stopped) {
    const PowerState power = ActivePowerStateSource().Read(stopped);
    if (Stopped(stopped)) {
        return {.stopped = true};
    }
    const std::optional<int> charge = LowBatteryCharge(power);
    if (charge) {
        WriteToolLog(L"Not started: " + LowBatteryReason(*charge) + L", below " +
                     std::to_wstring(kMinimumBatteryPercent) + L" %; connect mains power");
    }
    return {.lowBattery = charge};
}

}  // namespace fwup
