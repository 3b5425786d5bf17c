// Linux: the power state UPower publishes on the system bus. Its display device is the battery
// the desktop shows (all batteries combined); a machine without one reports it as not present.
#include <memory>
#include <optional>

#include "base/wide_text.h"
#include "log/tool_log.h"
#include "upgrade/posix/system_bus.h"
#include "upgrade/power_state.h"

namespace fwup {

namespace {

constexpr const char* kService = "org.freedesktop.UPower";
constexpr const char* kDaemonPath = "/org/freedesktop/UPower";
constexpr const char* kDisplayDevicePath = "/org/freedesktop/UPower/devices/DisplayDevice";
constexpr const char* kDeviceInterface = "org.freedesktop.UPower.Device";

class UPowerState final : public PowerStateSource {
  public:
    PowerState Read(const StopCheck& stopped) override {
        SystemBus bus(stopped);
        const PowerState state = ReadFrom(bus);
        // No UPower is common and says nothing; a bus that hangs is worth a line for support.
        if (bus.TimedOut()) {
            WriteToolLog(L"The power state could not be read: " + FromUtf8(bus.Failure()));
        }
        return state;
    }

  private:
    static PowerState ReadFrom(SystemBus& bus) {
        PowerState state;
        const std::optional<bool> onBattery =
            bus.BoolProperty(kService, kDaemonPath, kService, "OnBattery");
        if (!onBattery) {
            return state;
        }
        state.supply = *onBattery ? PowerSupply::kBattery : PowerSupply::kMains;
        if (bus.BoolProperty(kService, kDisplayDevicePath, kDeviceInterface, "IsPresent")
                .value_or(false)) {
            state.batteryPercent =
                bus.DoubleProperty(kService, kDisplayDevicePath, kDeviceInterface, "Percentage");
        }
        return state;
    }
};

}  // namespace

std::unique_ptr<PowerStateSource> MakeHostPowerStateSource() {
    return std::make_unique<UPowerState>();
}

}  // namespace fwup
