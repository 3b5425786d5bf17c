// GetSystemPowerStatus's fields as a power state, through a stand-in for the call: the rows the
// battery check must get right, and the values Windows documents as unknown.

#include "upgrade/win32/system_power_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace fwup {
namespace {

struct StatusCase {
    const char* name;
    BOOL answers;
    BYTE acLine;
    BYTE batteryFlag;
    BYTE percent;
    std::optional<int> refusedAt;
};

SYSTEM_POWER_STATUS reported{};
BOOL answer = TRUE;

BOOL WINAPI FakeGetSystemPowerStatus(LPSYSTEM_POWER_STATUS status) {
    *status = reported;
    return answer;
}

class SystemPowerStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(SystemPowerStatus, RefusesOnlyOnBatteryBelowTheThreshold) {
    reported = SYSTEM_POWER_STATUS{};
    reported.ACLineStatus = GetParam().acLine;
    reported.BatteryFlag = GetParam().batteryFlag;
    reported.BatteryLifePercent = GetParam().percent;
    answer = GetParam().answers;
    const std::unique_ptr<PowerStateSource> source =
        MakeSystemPowerStateSource(&FakeGetSystemPowerStatus);
    EXPECT_EQ(LowBatteryCharge(source->Read({})), GetParam().refusedAt);
}

// BatteryFlag: 1 high, 2 low, 4 critical, 8 charging, 128 no system battery, 255 unknown.
INSTANTIATE_TEST_SUITE_P(
    Rows, SystemPowerStatus,
    ::testing::Values(StatusCase{"OnBatteryAt5", TRUE, 0, 4, 5, 5},
                      StatusCase{"OnBatteryAt60", TRUE, 0, 1, 60, std::nullopt},
                      StatusCase{"OnMainsAt5", TRUE, 1, 8 | 4, 5, std::nullopt},
                      StatusCase{"NoBattery", TRUE, 1, 128, 255, std::nullopt},
                      StatusCase{"LineUnknown", TRUE, 255, 4, 5, std::nullopt},
                      StatusCase{"ChargeUnknown", TRUE, 0, 255, 5, std::nullopt},
                      StatusCase{"PercentUnknown", TRUE, 0, 2, 255, std::nullopt},
                      StatusCase{"CallFails", FALSE, 0, 4, 5, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemPowerStatusOfTheMachine, CanBeRead) {
    // Whatever the machine (or Wine) reports, reading it neither fails nor hangs.
    const std::unique_ptr<PowerStateSource> host = MakeHostPowerStateSource();
    ASSERT_NE(host, nullptr);
    (void)LowBatteryCharge(host->Read({}));
}

}  // namespace
}  // namespace fwup
