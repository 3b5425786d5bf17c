#include "upgrade/win32/system_power_state.h"

#include <memory>

namespace fwup {

namespace {

// SYSTEM_POWER_STATUS's documented values.
constexpr BYTE kAcOffline = 0;
constexpr BYTE kAcOnline = 1;
constexpr BYTE kNoSystemBattery = 128;  // a BatteryFlag bit
constexpr BYTE kBatteryFlagUnknown = 255;
constexpr BYTE kMaxPercent = 100;  // 255 means unknown; anything above 100 is no charge at all

class SystemPowerState final : public PowerStateSource {
  public:
    explicit SystemPowerState(GetSystemPowerStatusCall call) : call_(call) {}

    // GetSystemPowerStatus answers from the kernel's state at once; nothing to stop.
    PowerState Read(const StopCheck&) override {
        PowerState state;
        SYSTEM_POWER_STATUS status{};
        if (call_ == nullptr || !call_(&status)) {
            return state;
        }
        if (status.ACLineStatus == kAcOnline) {
            state.supply = PowerSupply::kMains;
        } else if (status.ACLineStatus == kAcOffline) {
            state.supply = PowerSupply::kBattery;
        }
        const bool batteryKnown = status.BatteryFlag != kBatteryFlagUnknown &&
                                  (status.BatteryFlag & kNoSystemBattery) == 0;
        if (batteryKnown && status.BatteryLifePercent <= kMaxPercent) {
            state.batteryPercent = status.BatteryLifePercent;
        }
        return state;
    }

  private:
    GetSystemPowerStatusCall call_;
};

}  // namespace

std::unique_ptr<PowerStateSource> MakeSystemPowerStateSource(GetSystemPowerStatusCall call) {
    return std::make_unique<SystemPowerState>(call);
}

std::unique_ptr<PowerStateSource> MakeHostPowerStateSource() {
    return MakeSystemPowerStateSource(&GetSystemPowerStatus);
}

}  // namespace fwup
