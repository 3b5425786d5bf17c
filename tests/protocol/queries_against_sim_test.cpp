// The printer queries against the simulated printer of each example scenario: what a support
// rehearsal or the demo would see.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "app/common/program_services.h"
#include "device/usb_open.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

struct ScenarioCase {
    const char* file;
    int statusResult;
    int statusByte;
    int versionResult;
    int securityResult;
    bool encrypted;
};

// Runs the three checks of an upgrade, each on a channel of its own, as the upgrade does.
struct QueryResults {
    int statusResult = 0;
    std::int8_t statusByte = 0;
    int versionResult = 0;
    int securityResult = 0;
};

QueryResults RunQueries(const std::wstring& port) {
    QueryResults results;
    UsbChannel channel = OpenUSBDevice(port);
    results.statusResult =
        channel ? GetPrinterStatus(channel.get(), results.statusByte) : kErrOpenChannel;
    CloseUSBDevice(channel);
    results.versionResult = QueryFwVersion(port);
    results.securityResult = QuerySecurity(port);
    return results;
}

class QueriesAgainstScenario : public ::testing::TestWithParam<ScenarioCase> {
  protected:
    void SetUp() override {
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(LoadScenarioFile(std::string(FWUP_SCENARIO_DIR) + "/" + GetParam().file,
                                     scenario, error))
            << error;
        source = std::make_unique<SimInterfaceSource>(std::move(scenario));
        installed.emplace(ProgramServices{.interfaces = source.get()});
        bFwEncrypted = false;
    }
    void TearDown() override {
        installed.reset();
        bFwEncrypted = false;
    }

    testing::InstantClock clock;
    testing::RecordingNoticeOutput notices;
    testing::TempLogDir log;
    std::unique_ptr<SimInterfaceSource> source;
    std::optional<InstalledServices> installed;
};

TEST_P(QueriesAgainstScenario, GiveTheResultsTheUpgradeDecidesOn) {
    const ScenarioCase& expected = GetParam();
    const QueryResults got = RunQueries(L"USB001");
    EXPECT_EQ(got.statusResult, expected.statusResult);
    if (got.statusResult == kResultOk) {
        EXPECT_EQ(got.statusByte, expected.statusByte);
    }
    EXPECT_EQ(got.versionResult, expected.versionResult);
    EXPECT_EQ(got.securityResult, expected.securityResult);
    EXPECT_EQ(bFwEncrypted.load(), expected.encrypted);
    // Every query closed its channel again.
    EXPECT_FALSE(source->printer(0)->channelOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Examples, QueriesAgainstScenario,
    ::testing::Values(
        ScenarioCase{"one-printer-ready.json", kResultOk, 0, kVersionLower, kSecurityCrcValid,
                     false},
        ScenarioCase{"encrypted.json", kResultOk, 0, kVersionLower, kSecurityCrcValid, true},
        ScenarioCase{"same-version.json", kResultOk, 0, kVersionSame, kSecurityCrcValid, false},
        ScenarioCase{"newer-version.json", kResultOk, 0, kVersionHigher, kSecurityCrcValid, false},
        ScenarioCase{"not-ready.json", kResultOk, 3, kVersionLower, kSecurityCrcValid, false},
        ScenarioCase{"bad-crc.json", kResultOk, 0, kVersionLower, kSecurityCrcInvalid, false},
        // The status reply left unread by the failed status query is still queued, and the
        // version query takes it for its own reply (N = 0): an empty version text, no verdict.
        ScenarioCase{"flaky-replies.json", kErrReplyRead, 0, kErrVersionTextShort,
                     kSecurityCrcValid, false},
        ScenarioCase{"wrong-reply-header.json", kErrReplyMismatch, 0, kVersionLower,
                     kSecurityCrcValid, false},
        ScenarioCase{"silent-printer.json", kErrReplyTimeout, 0, kErrReplyHeaderRead,
                     kSecurityCrcValid, false},
        ScenarioCase{"no-port-number.json", kErrOpenChannel, 0, kErrOpenChannel, kErrOpenChannel,
                     false}),
    [](const auto& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        std::erase(name, '-');
        return name;
    });

TEST(QueriesAgainstSimulatedPrinter, SilentPrinterSendsTheVersionJobFiveTimesAndGivesUp) {
    testing::InstantClock clock;
    testing::RecordingNoticeOutput notices;
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(
        LoadScenarioFile(std::string(FWUP_SCENARIO_DIR) + "/silent-printer.json", scenario, error));
    SimInterfaceSource source(std::move(scenario));
    {
        const InstalledServices installed({.interfaces = &source});
        EXPECT_EQ(QueryFwVersion(L"USB001"), kErrReplyHeaderRead);
    }

    int versionJobs = 0;
    for (const ReceivedJob& job : source.printer(0)->Jobs()) {
        versionJobs += job.kind == JobKind::kVersion ? 1 : 0;
    }
    EXPECT_EQ(versionJobs, 5);
    EXPECT_EQ(notices.lines, std::vector<std::wstring>{L"nReSendNum == 5"});
    // Each attempt waits out its bound; the whole query stays within five of them.
    EXPECT_LE(clock.nowMs() - 1'700'000'000'000, 5 * 63'000);
}

// An instant clock that will not run past a bound: a wait that would never end throws out of the
// code under test, which then fails instead of hanging.
class BoundedClock final : public Clock {
  public:
    explicit BoundedClock(std::int64_t boundMs) : boundMs_(boundMs) {}
    BoundedClock(const BoundedClock&) = delete;
    BoundedClock& operator=(const BoundedClock&) = delete;

    std::int64_t NowSeconds() override { return nowMs_ / 1000; }
    CivilTime LocalTime(std::int64_t) override { return {}; }
    std::int64_t MonotonicMs() override { return nowMs_; }
    void SleepMs(std::uint32_t ms) override {
        nowMs_ += ms;
        if (nowMs_ > boundMs_) {
            throw std::runtime_error("the clock ran past its bound");
        }
    }
    std::int64_t nowMs() const { return nowMs_; }

  private:
    std::int64_t nowMs_ = 0;
    const std::int64_t boundMs_;
    const InstalledServices installed_{{.clock = this}};
};

TEST(QueriesAgainstSimulatedPrinter, VersionDataThatNeverComesEndsInMinus19) {
    BoundedClock clock(60 * 60 * 1000);
    testing::RecordingNoticeOutput notices;
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(ParseScenario(
        R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1,)"
        R"( "faults": {"versionDataWithheld": true}}]})",
        scenario, error))
        << error;
    SimInterfaceSource source(std::move(scenario));
    int result = 0;
    {
        const InstalledServices installed({.interfaces = &source});
        EXPECT_NO_THROW(result = QueryFwVersion(L"USB001"));
    }

    EXPECT_EQ(result, kErrReplyRead);
    int versionJobs = 0;
    for (const ReceivedJob& job : source.printer(0)->Jobs()) {
        versionJobs += job.kind == JobKind::kVersion ? 1 : 0;
    }
    EXPECT_EQ(versionJobs, 5);
    EXPECT_FALSE(source.printer(0)->channelOpen());
    // Five attempts, each ending at its bound.
    EXPECT_LE(clock.nowMs(), 5 * 63'000);
}

}  // namespace
}  // namespace fwup
