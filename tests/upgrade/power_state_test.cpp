// When the power state stops a run: only on battery below the threshold; never on mains, and
// never on what is not known.

#include "upgrade/power_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

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

TEST(ActivePowerState, IsUnknownUntilASourceIsInstalled) {
    EXPECT_EQ(ActivePowerStateSource().Read({}).supply, PowerSupply::kUnknown);
}

}  // namespace
}  // namespace fwup
