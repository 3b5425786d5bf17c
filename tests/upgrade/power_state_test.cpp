// When the power state stops a run: only on battery below the threshold; never on mains, and
// never on what is not known.

#include "upgrade/power_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_power_state.h"
#include "fakes/temp_log_dir.h"

namespace fwup {
namespace {

struct PowerCase {
    PowerState state;
    std::optional<int> refusedAt;
};

class LowBattery : public ::testing::TestWithParam<PowerCase> {};

TEST_P(LowBattery, RefusesOnlyOnBatteryBelowTheThreshold) {
    EXPECT_EQ(LowBatteryCharge(GetParam().state), GetParam().refusedAt);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    States, LowBattery,
    ::testing::Values(PowerCase{{PowerSupply::kBattery, 5.0}, 5},
                      PowerCase{{PowerSupply::kBattery, 0.0}, 0},
                      PowerCase{{PowerSupply::kBattery, 9.99}, 9},
                      PowerCase{{PowerSupply::kBattery, kMinimumBatteryPercent}, std::nullopt},
                      PowerCase{{PowerSupply::kBattery, 60.0}, std::nullopt},
                      PowerCase{{PowerSupply::kMains, 5.0}, std::nullopt},
                      PowerCase{{PowerSupply::kMains, 0.0}, std::nullopt},
                      PowerCase{{PowerSupply::kUnknown, 5.0}, std::nullopt},
                      PowerCase{{PowerSupply::kBattery, std::nullopt}, std::nullopt},
                      PowerCase{{PowerSupply::kBattery, -1.0}, std::nullopt},
                      PowerCase{{PowerSupply::kBattery, kNaN}, std::nullopt}));

TEST(LowBatteryReason, NamesTheCharge) {
    EXPECT_EQ(LowBatteryReason(5), L"the computer runs on battery at 5 %");
}

// The refusal as the run meets it: read through the seam, decided, and logged only when it
// refuses; a stop asked during the read decides nothing.
struct RefusalCase {
    const char* name;
    PowerState state;
    bool stopDuringRead;
    PowerCheck expected;
    std::vector<std::string> log;
};

class PowerRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PowerRefusal, IsDecidedAndLoggedBeforeAnyPrinter) {
    const testing::TempLogDir logDir;
    testing::FakePowerState power;
    power.state = GetParam().state;
    bool stop = false;
    if (GetParam().stopDuringRead) {
        power.onRead = [&stop](const StopCheck&) { stop = true; };
    }
    const PowerCheck check = CheckPowerBeforeRun([&stop] { return stop; });
    EXPECT_EQ(check.stopped, GetParam().expected.stopped);
    EXPECT_EQ(check.lowBattery, GetParam().expected.lowBattery);
    EXPECT_EQ(logDir.Messages(), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PowerRefusal,
    ::testing::Values(
        RefusalCase{"LowBatteryRefuses",
                    {PowerSupply::kBattery, 7.5},
                    false,
                    {.lowBattery = 7},
                    {"Not started: the computer runs on battery at 7 %, below 10 %; connect mains "
                     "power"}},
        RefusalCase{"MainsStarts", {PowerSupply::kMains, 3.0}, false, {}, {}},
        RefusalCase{"StopDuringTheReadDecidesNothing",
                    {PowerSupply::kBattery, 3.0},
                    true,
                    {.stopped = true},
                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ActivePowerState, IsUnknownUntilASourceIsInstalled) {
    EXPECT_EQ(ActivePowerStateSource().Read({}).supply, PowerSupply::kUnknown);
}

}  // namespace
}  // namespace fwup
