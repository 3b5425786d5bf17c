// The exit codes scripts act on, each decided from what a command found.
#include "app/cli/exit_codes.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/result_codes.h"

namespace fwup::cli {
namespace {

struct ExitCase {
    std::vector<int> ended;
    int exitCode;
};

class AllPrintersExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(AllPrintersExit, IsSucceededOnlyWhenEveryPrinterIsCurrent) {
    EXPECT_EQ(AllPrintersExitCode(GetParam().ended), GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(Table, AllPrintersExit,
                         ::testing::Values(ExitCase{{}, 3}, ExitCase{{0}, 0}, ExitCase{{6}, 0},
                                           ExitCase{{0, 6, 0}, 0}, ExitCase{{3}, 13},
                                           ExitCase{{0, 9}, 13}, ExitCase{{6, 130}, 13},
                                           ExitCase{{10, 0}, 13}, ExitCase{{1}, 13},
                                           ExitCase{{12, 11}, 13}));

struct CheckCase {
    CheckReadings readings;
    int exitCode;
};

class CheckExit : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckExit, IsSucceededOnlyForAReadyPrinterWithAValidRecord) {
    EXPECT_EQ(CheckExitCode(GetParam().readings), GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckExit,
    ::testing::Values(CheckCase{{true, kVersionSame, kSecurityCrcValid}, kExitSucceeded},
                      CheckCase{{true, kVersionHigher, kSecurityCrcInvalid},
                                kExitFirmwareUnrecognized},
                      CheckCase{{true, kVersionLower, kSecurityNoReply}, kExitFailed},
                      CheckCase{{true, kErrOpenChannel, kSecurityCrcValid}, kExitPrinterLost},
                      CheckCase{{true, kVersionSame, kErrOpenChannel}, kExitPrinterLost},
                      CheckCase{{false, kVersionSame, kSecurityCrcValid}, kExitNotReady},
                      CheckCase{{false, kVersionSame, kSecurityCrcValid, true}, kExitPrinterLost},
                      CheckCase{{true, kVersionSame, kSecurityCrcValid, true}, kExitPrinterLost}));

struct UpgradeCase {
    UpgradeEnd end;
    int exitCode;
};

class UpgradeExit : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(UpgradeExit, RefinesTheRunsOutcome) {
    EXPECT_EQ(UpgradeExitCode(GetParam().end), GetParam().exitCode);
}

using enum UpgradeOutcome;

INSTANTIATE_TEST_SUITE_P(
    Table, UpgradeExit,
    ::testing::Values(
        UpgradeCase{{.outcome = kSucceeded}, kExitSucceeded},
        UpgradeCase{{.outcome = kNotConnected}, kExitNotConnected},
        UpgradeCase{{.outcome = kNotConnected, .choiceUnmatched = true, .discoveryFailed = true},
                    kExitUsage},
        UpgradeCase{{.outcome = kNotConnected, .discoveryFailed = true}, kExitError},
        UpgradeCase{{.outcome = kNotConnected, .choiceUnmatched = true, .printerReplaced = true},
                    kExitPrinterLost},
        UpgradeCase{{.outcome = kFailed, .printerReplaced = true}, kExitPrinterLost},
        UpgradeCase{{.outcome = kSucceeded, .printerReplaced = true}, kExitSucceeded},
        UpgradeCase{{.outcome = kInterrupted, .printerReplaced = true}, kExitInterrupted},
        UpgradeCase{{.outcome = kSucceeded, .verifyFailed = true}, kExitVerifyFailed},
        UpgradeCase{{.outcome = kDeclined, .verifyFailed = true}, kExitDeclined}));

}  // namespace
}  // namespace fwup::cli
