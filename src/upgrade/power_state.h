#pragma once

#include <memory>
#include <optional>
#include <string>

#include "upgrade/stop_check.h"

namespace fwup {

// Below this charge, on battery, a run does not start: the transfer and the printer's flashing
// take minutes, and a laptop that dies or suspends on the last few percent leaves the printer
// half-written. Ten percent leaves room for the whole run on any laptop battery, and is still
// below the level at which desktops begin their own low-battery warnings.
inline constexpr int kMinimumBatteryPercent = 10;

enum class PowerSupply {
    kUnknown,  // no power service, an error, or a value the platform calls unknown
    kMains,
    kBattery,
};

// The computer's power state as far as it is known.
struct PowerState {
    PowerSupply supply = PowerSupply::kUnknown;
    // The battery's charge, 0 to 100; none without a battery or when it is not known.
    std::optional<double> batteryPercent;
};

// Where the power state comes from: UPower over the system bus, GetSystemPowerStatus, or a fake.
class PowerStateSource {
  public:
    virtual ~PowerStateSource() = default;
    // Never fails: what cannot be read is unknown. A source that waits (on the system bus) gives
    // up, with the state unknown, once `stopped` says so.
    virtual PowerState Read(const StopCheck& stopped) = 0;
};

// The platform's own source (defined in the platform folder).
std::unique_ptr<PowerStateSource> MakeHostPowerStateSource();

// The source the core asks. Until one is installed the state is unknown, so tests and tools
// never refuse. Install before any worker thread starts; nullptr restores the default. The source
// installed before is returned.
PowerStateSource& ActivePowerStateSource();
PowerStateSource* SetActivePowerStateSource(PowerStateSource* source);

// The charge, in whole percent rounded down, when `state` forbids a run: on battery and below
// kMinimumBatteryPercent. On mains a run always starts, whatever the battery says (a machine on
// mains with a dead battery must still be able to upgrade), and so does one whose power state
// is unknown.
std::optional<int> LowBatteryCharge(const PowerState& state);

// "the computer runs on battery at 5 %": the console's reason and part of the log line.
std::wstring LowBatteryReason(int percent);

// What the power state says before a run looks for any printer.
struct PowerCheck {
    // The front end asked to stop while the state was read: nothing was decided, the run ends
    // interrupted.
    bool stopped = false;
    // The charge that refuses the run, its Tool.log line already written; none when it may start.
    std::optional<int> lowBattery{};
};

// The low-battery refusal: reads the state through the active source, decides against
// kMinimumBatteryPercent and logs the refusal. The caller tells the user.
PowerCheck CheckPowerBeforeRun(const StopCheck& stopped);

}  // namespace fwup
