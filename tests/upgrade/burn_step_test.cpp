// The burn step against a simulated printer: which embedded package goes out, and how a failure
// is reported.

#include "upgrade/burn_step.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"
#include "protocol/firmware_transfer.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;
using testing::FirmwareJobOf;
using testing::SimulatedPrinter;

class BurnFWTest : public ::testing::Test {
  protected:
    ~BurnFWTest() override { bFwEncrypted.store(false); }

    testing::InstantClock clock_;
    testing::RecordingNoticeOutput notices_;
    testing::TempLogDir log_;
};

struct ChoiceCase {
    bool encrypted;
    int resourceId;
    const char* logLine;
};

class BurnFWChoice : public BurnFWTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(BurnFWChoice, SendsThePackageTheSecurityRecordAskedFor) {
    SimulatedPrinter sim;
    bFwEncrypted.store(GetParam().encrypted);

    EXPECT_EQ(BurnFW(L"USB001"), kResultOk);

    EXPECT_EQ(sim.FirmwareJobs(),
              std::vector<ReceivedJob>{FirmwareJobOf(EmbeddedPackage(GetParam().resourceId))});
    EXPECT_EQ(log_.Messages(), std::vector<std::string>{GetParam().logLine});
    EXPECT_EQ(clock_.sleptMs(), 0) << "the step itself never waits";
}

INSTANTIATE_TEST_SUITE_P(
    Security, BurnFWChoice,
    ::testing::Values(ChoiceCase{false, kPackagePlainId, "Will burn FW which is not encrypted"},
                      ChoiceCase{true, kPackageEncryptedId, "Will burn FW which is encrypted"}),
    [](const auto& info) { return info.param.encrypted ? "Encrypted" : "NotEncrypted"; });

struct FailureCase {
    const char* name;
    const char* faults;
    const wchar_t* port;
    int code;
    std::vector<std::string> log;
};

class BurnFWFailure : public BurnFWTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(BurnFWFailure, PassesSendElfsCodeOnAndWritesItToBothOutputs) {
    SimulatedPrinter sim(GetParam().faults);

    EXPECT_EQ(BurnFW(GetParam().port), GetParam().code);

    EXPECT_EQ(log_.Messages(), GetParam().log);
    const std::wstring line =
        L"Send Elf failed, Error Code:" + std::to_wstring(GetParam().code) + L"!";
    EXPECT_EQ(notices_.lines, (std::vector<std::wstring>{L"Tool show NOTICE\uFF1Aloading ELF...",
                                                         L"Tool show NOTICE\uFF1A" + line}));
}

INSTANTIATE_TEST_SUITE_P(Failures, BurnFWFailure,
                         ::testing::Values(FailureCase{"NoChannel",
                                                       "{}",
                                                       L"USB007",
                                                       kErrOpenChannel,
                                                       {"Will burn FW which is not encrypted",
                                                        "open USB Device failed!",
                                                        "Send Elf failed, Error Code:-6!"}},
                                           FailureCase{"Unplugged",
                                                       R"({"unplugAtByte": 1000})",
                                                       L"USB001",
                                                       kErrTransferWrite,
                                                       {"Will burn FW which is not encrypted",
                                                        "DownloadFW failed, Err Code:     -12!",
                                                        "Send Elf failed, Error Code:-12!"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup
