#include "upgrade/power_state.h"

#include <atomic>
#include <cmath>

namespace fwup {
namespace {

class UnknownPowerState final : public PowerStateSource {
  public:
    PowerState Read() override { return {}; }
};

std::atomic<PowerStateSource*> installedSource{nullptr};

}  // namespace

PowerStateSource& ActivePowerStateSource() {
    static UnknownPowerState unknown;
    PowerStateSource* source = installedSource.load();
    return source != nullptr ? *source : unknown;
}

void SetActivePowerStateSource(PowerStateSource* source) {
    installedSource.store(source);
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

}  // namespace fwup
