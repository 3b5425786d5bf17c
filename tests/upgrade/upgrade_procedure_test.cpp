// Whole upgrade runs against the simulated printers of scenarios/: what the user is told, the look
// the window is left in, the tool log, the wait for flashing, and the bytes the printer received.

#include "upgrade/upgrade_procedure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/interface_source.h"
#include "device/simulated_printers.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_dialog_surface.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"
#include "protocol/printer_queries.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/upgrade_start.h"
#include "ui/window_front_end.h"
#include "upgrade/power_state.h"
#include "upgrade/print_queues.h"
#include "upgrade/printer_selection.h"
#include "upgrade/run_history.h"
#include "upgrade/run_status.h"
#include "upgrade/upgrade_run_fixture.h"
#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;
using testing::FirmwareJobOf;
using testing::GuardProbe;
using testing::Look;
using testing::Message;
using testing::RecordingDialogSurface;
using testing::RecordingSurfaceFactory;
using testing::SurfaceRecord;
using testing::UpgradeRunTest;

struct RunCase {
    const char* name = "";
    const char* scenario = "";  // file in scenarios/
    std::vector<PrintQueue> queues{};
    PowerState power{};               // the computer's, asked before anything else
    std::vector<Message> messages{};  // in the order they come, with the user's answer
    Look look = Look::kReady;
    std::vector<std::string> log{};
    std::vector<std::wstring> notices{};  // among the debugger output
    bool waitsForFlashing = false;
    std::vector<JobKind> jobs{};  // what the printer took, in order
    int packageId = 0;            // the package the firmware job must hold whole, 0 for none
    const char* result = "";      // the run's word in the history
};

std::ostream& operator<<(std::ostream& out, const RunCase& run) {
    return out << run.name;
}

// A whole run of one-printer-ready.json that the power state lets go on.
RunCase PlainUpgradeOnPower(const char* name, PowerState power) {
    return RunCase{
        .name = name,
        .scenario = "one-printer-ready.json",
        .power = power,
        .look = Look::kSucceeded,
        .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0", "FW is not encrypted",
                "Will burn FW which is not encrypted", "ELF is running..."},
        .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
        .packageId = kPackagePlainId,
        .result = "succeeded"};
}

class UpgradeRunEnding : public UpgradeRunTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(UpgradeRunEnding, TellsTheUserLogsAndLeavesTheWindowAsItShould) {
    const RunCase& run = GetParam();
    Attach(run.scenario);
    queues_.queues = run.queues;
    power_.state = run.power;
    for (const Message& message : run.messages) {
        Answer(message.answer);
    }
    GuardProbe guards;
    guards.bytesReceived = [this] { return Printer() ? Printer()->BytesReceived() : 0; };
    guards.flashWaits = [this] { return clock_.flashWaits; };
    CVevaVoRirizevDlg& window = Open();
    notices_.lines.clear();

    EXPECT_EQ(UpgradeThreadProc(&window, AfterTransfer::kEndRun), 0);

    ASSERT_EQ(factory_.finished.size(), run.messages.size());
    for (std::size_t i = 0; i < run.messages.size(); ++i) {
        const SurfaceRecord& shown = factory_.finished[i];
        EXPECT_EQ(shown.controls.at(kIdMessageText).text, GetLangText(run.messages[i].textId));
        EXPECT_EQ(shown.controls.at(kIdYes).visible, run.messages[i].mode == MSG_MODE_YESNO);
    }
    ExpectLook(run.look);
    EXPECT_EQ(log_.Messages(), run.log);
    for (const std::wstring& notice : run.notices) {
        EXPECT_NE(std::find(notices_.lines.begin(), notices_.lines.end(),
                            L"Tool show NOTICE\uFF1A" + notice),
                  notices_.lines.end())
            << "missing notice";
    }
    EXPECT_EQ(clock_.flashWaits, run.waitsForFlashing ? 1 : 0);
    EXPECT_FALSE(clock_.finalLookBeforeWait) << "the result shows only after the wait";
    EXPECT_EQ(JobKinds(), run.jobs);

    if (run.packageId != 0) {
        ASSERT_NE(Printer(), nullptr);
        const ReceivedJob expected = FirmwareJobOf(EmbeddedPackage(run.packageId));
        EXPECT_EQ(Printer()->Jobs().back(), expected) << "the whole package, in order";
    }
    const bool burned = std::find_if(run.log.begin(), run.log.end(), [](const std::string& line) {
                            return line.starts_with("Will burn");
                        }) != run.log.end();
    EXPECT_EQ(guards.taken, burned ? 1 : 0);
    if (burned) {
        std::uint64_t queryBytes = 0;
        for (const ReceivedJob& job : Printer()->Jobs()) {
            queryBytes += job.kind == JobKind::kFirmware ? 0 : job.byteCount;
        }
        EXPECT_EQ(guards.bytesAtTake, queryBytes) << "taken before the first package byte";
        EXPECT_EQ(guards.bytesAtRelease, Printer()->BytesReceived()) << "released after the last";
        EXPECT_EQ(guards.flashWaitsAtRelease, clock_.flashWaits) << "held until the run ends";
    }
    EXPECT_EQ(guards.held, 0) << "the guard is released when the transfer ends";
    EXPECT_EQ(surface_.unmarshalledCalls, 0);

    // Every run is one line of the history, whatever it ended with.
    const HistoryReading history = ReadRunHistory((log_.dir() / "history.jsonl").wstring());
    ASSERT_EQ(history.records.size(), 1u);
    const RunRecord& record = history.records[0];
    EXPECT_EQ(record.program, "viruzu-fwup");
    EXPECT_EQ(record.result, run.result);
    const bool versionRead =
        std::find(run.jobs.begin(), run.jobs.end(), JobKind::kVersion) != run.jobs.end();
    EXPECT_EQ(record.versionText.has_value(), versionRead);
    if (run.packageId != 0) {
        EXPECT_EQ(record.package, run.packageId);
        EXPECT_EQ(record.bytesSent,
                  static_cast<std::int64_t>(EmbeddedPackage(run.packageId).size()));
    } else if (!burned) {
        EXPECT_EQ(record.package, std::nullopt);
        EXPECT_EQ(record.bytesSent, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, UpgradeRunEnding,
    ::testing::Values(
        RunCase{.name = "NoPrinter",
                .scenario = "no-printer.json",
                .messages = {{TXT_NOT_CONNECTED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .notices = {L"prepare for fw updating..."},
                .result = "not-connected"},
        RunCase{.name = "LowBatteryRefusesBeforeAnyPrinterStep",
                .scenario = "one-printer-ready.json",
                .power = {PowerSupply::kBattery, 9.9},
                .messages = {{TXT_LOW_BATTERY, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .log = {"Not started: the computer runs on battery at 9 %, below "
                        "10 %; connect mains power"},
                .result = "low-battery"},
        PlainUpgradeOnPower("BatteryAt60Sends", {PowerSupply::kBattery, 60.0}),
        PlainUpgradeOnPower("MainsWithEmptyBatterySends", {PowerSupply::kMains, 5.0}),
        PlainUpgradeOnPower("BatteryOfUnknownChargeSends", {PowerSupply::kBattery, std::nullopt}),
        PlainUpgradeOnPower("UnknownSupplyWithEmptyBatterySends", {PowerSupply::kUnknown, 3.0}),
        RunCase{.name = "PortOccupied",
                .scenario = "one-printer-ready.json",
                .queues = {{L"USB002", 0}, {L"USB001", 2}},
                .messages = {{TXT_PORT_OCCUPIED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .result = "port-busy"},
        RunCase{.name = "NotReady",
                .scenario = "not-ready.json",
                .look = Look::kNotReady,
                .notices = {L"Checking printer status failed,Error code:3\n"},
                .jobs = {JobKind::kStatus},
                .result = "not-ready"},
        RunCase{.name = "StatusUnreadable",
                .scenario = "wrong-reply-header.json",
                .look = Look::kNotReady,
                .notices = {L"Checking printer status failed,Error code:5\n"},
                .jobs = {JobKind::kStatus},
                .result = "not-ready"},
        RunCase{.name = "VersionQueryFails",
                .scenario = "version-query-refused.json",
                .look = Look::kFailed,
                .jobs = {JobKind::kStatus},
                .result = "failed"},
        RunCase{.name = "VersionLowerSendsWithoutWaiting",
                .scenario = "one-printer-ready.json",
                .look = Look::kSucceeded,
                .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0",
                        "FW is not encrypted", "Will burn FW which is not encrypted",
                        "ELF is running..."},
                .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                .packageId = kPackagePlainId,
                .result = "succeeded"},
        RunCase{.name = "EncryptedRecordSends3001",
                .scenario = "encrypted.json",
                .look = Look::kSucceeded,
                .log = {"CRC is valid, crcCalc: 0x5a23", "response.security: 0x20",
                        "FW is encrypted", "Will burn FW which is encrypted", "ELF is running..."},
                .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                .packageId = kPackageEncryptedId,
                .result = "succeeded"},
        RunCase{.name = "VersionHigherWaitsForFlashing",
                .scenario = "newer-version.json",
                .look = Look::kSucceeded,
                .log = {"CRC is valid, crcCalc: 0xfbfb", "response.security: 0x0",
                        "FW is not encrypted", "Will burn FW which is not encrypted",
                        "ELF is running..."},
                .waitsForFlashing = true,
                .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                .packageId = kPackagePlainId,
                .result = "succeeded"},
        RunCase{.name = "NoSecurityRecord",
                .scenario = "newer-version-no-security-record.json",
                .look = Look::kSucceeded,
                .log = {"Will burn FW which is not encrypted", "ELF is running..."},
                .waitsForFlashing = true,
                .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                .packageId = kPackagePlainId,
                .result = "succeeded"},
        RunCase{.name = "SameVersionYes",
                .scenario = "same-version.json",
                .messages = {{TXT_VERSION_SAME, MSG_MODE_YESNO, kIdYes}},
                .look = Look::kSucceeded,
                .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0",
                        "FW is not encrypted", "Will burn FW which is not encrypted",
                        "ELF is running..."},
                .waitsForFlashing = true,
                .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                .packageId = kPackagePlainId,
                .result = "succeeded"},
        RunCase{.name = "SameVersionNo",
                .scenario = "same-version.json",
                .messages = {{TXT_VERSION_SAME, MSG_MODE_YESNO, kIdNo}},
                .look = Look::kReady,
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "declined"},
        RunCase{.name = "BadCrcBeforeSendElf",
                .scenario = "bad-crc.json",
                .messages = {{TXT_FW_UNRECOGNIZED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .log = {"CRC is invalid"},
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "firmware-unrecognized"},
        RunCase{.name = "BadCrcBeforeSendData",
                .scenario = "same-version-bad-crc.json",
                .messages = {{TXT_VERSION_SAME, MSG_MODE_YESNO, kIdYes},
                             {TXT_FW_UNRECOGNIZED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .log = {"CRC is invalid"},
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "firmware-unrecognized"},
        RunCase{.name = "SecurityChannelRefused",
                .scenario = "security-channel-refused.json",
                .messages = {{TXT_NOT_CONNECTED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "printer-lost"},
        RunCase{.name = "SecurityChannelRefusedAfterFullCheck",
                .scenario = "newer-version-security-channel-refused.json",
                .messages = {{TXT_NOT_CONNECTED, MSG_MODE_OK, kIdOk}},
                .look = Look::kReady,
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "printer-lost"},
        RunCase{.name = "BurnChannelRefused",
                .scenario = "burn-channel-refused.json",
                .look = Look::kFailed,
                .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0",
                        "FW is not encrypted", "Will burn FW which is not encrypted",
                        "open USB Device failed!", "Send Elf failed, Error Code:-6!"},
                .notices = {L"Send Elf failed, Error Code:-6!"},
                .jobs = {JobKind::kStatus, JobKind::kVersion},
                .result = "failed"},
        RunCase{
            .name = "ZeroWrite",
            .scenario = "zero-write-mid-transfer.json",
            .look = Look::kFailed,
            .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0",
                    "FW is not encrypted", "Will burn FW which is not encrypted",
                    "DownloadFW failed, Err Code:     -12!", "Send Elf failed, Error Code:-12!"},
            .notices = {L"Send Elf failed, Error Code:-12!"},
            .jobs = {JobKind::kStatus, JobKind::kVersion},
            .result = "failed"},
        RunCase{
            .name = "UnplugAfterFullCheckStillWaits",
            .scenario = "newer-version-unplug.json",
            .look = Look::kFailed,
            .log = {"CRC is valid, crcCalc: 0x2d84", "response.security: 0x0",
                    "FW is not encrypted", "Will burn FW which is not encrypted",
                    "DownloadFW failed, Err Code:     -12!", "Send Elf failed, Error Code:-12!"},
            .notices = {L"Send Elf failed, Error Code:-12!"},
            .waitsForFlashing = true,
            .jobs = {JobKind::kStatus, JobKind::kVersion},
            .result = "failed"}),
    [](const auto& info) { return std::string(info.param.name); });

// The status byte alone decides whether a run goes on: ready and asleep printers take the package,
// a busy one (1) stops the run before its version is asked.
struct StatusCase {
    int status;
    bool proceeds;
};

std::ostream& operator<<(std::ostream& out, const StatusCase& run) {
    return out << "status " << run.status;
}

class StatusEnding : public UpgradeRunTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusEnding, GoesOnOnlyForAReadyOrSleepingPrinter) {
    const StatusCase& run = GetParam();
    AttachJson(R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001",)"
               R"( "portNumber": 1, "status": )" +
               std::to_string(run.status) + "}]}");
    CVevaVoRirizevDlg& window = Open();
    notices_.lines.clear();

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    if (run.proceeds) {
        ExpectLook(Look::kSucceeded);
        EXPECT_EQ(JobKinds(),
                  (std::vector<JobKind>{JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware}));
    } else {
        ExpectLook(Look::kNotReady);
        EXPECT_EQ(JobKinds(), std::vector<JobKind>{JobKind::kStatus});
        const std::wstring notice =
            L"Tool show NOTICE\uFF1AChecking printer status failed,Error code:" +
            std::to_wstring(run.status) + L"\n";
        EXPECT_NE(std::find(notices_.lines.begin(), notices_.lines.end(), notice),
                  notices_.lines.end());
    }
}

INSTANTIATE_TEST_SUITE_P(Statuses, StatusEnding,
                         ::testing::Values(StatusCase{1, false}, StatusCase{2, true},
                                           StatusCase{4, true}),
                         [](const auto& info) {
                             return "Status" + std::to_string(info.param.status);
                         });

// The Start button from the window thread, with the run on a real worker that is held in its
// question while the user keeps clicking.
TEST_F(UpgradeRunTest, StartRunsOnceAtATimeAndTheWindowStaysOpenMeanwhile) {
    Attach("same-version.json");
    UpgradeWorker worker;
    Open({.onStart = [&worker](CVevaVoRirizevDlg& window) { OnBnClickedStart(window, worker); }});

    std::promise<void> asked;
    std::promise<void> answer;
    factory_.scripts.push_back([&](RecordingDialogSurface& question) {
        asked.set_value();
        answer.get_future().wait();
        question.FireCommand(kIdNo);
    });

    surface_.FireCommand(kIdStart);
    asked.get_future().wait();
    surface_.FireCommand(kIdStart);
    surface_.FireCommand(kIdExit);
    surface_.FireCancel();
    EXPECT_FALSE(surface_.FireCloseRequest());
    EXPECT_FALSE(surface_.ended);
    answer.set_value();
    worker.Wait();

    EXPECT_EQ(factory_.finished.size(), 1u) << "one run, one question";
    EXPECT_EQ(JobKinds(), (std::vector<JobKind>{JobKind::kStatus, JobKind::kVersion}));
    ExpectLook(Look::kReady);

    // Back at Ready, Start begins again from the printer check.
    Answer(kIdNo);
    surface_.FireCommand(kIdStart);
    worker.Wait();
    EXPECT_EQ(factory_.finished.size(), 2u);
    EXPECT_EQ(JobKinds(), (std::vector<JobKind>{JobKind::kStatus, JobKind::kVersion,
                                                JobKind::kStatus, JobKind::kVersion}));
    EXPECT_TRUE(surface_.FireCloseRequest());
    EXPECT_EQ(surface_.unmarshalledCalls, 0);
}

// A variable left set must not let a simulated success pass for a flashed printer: the title says
// so, and every run's log starts with where its printers come from.
TEST_F(UpgradeRunTest, SimulatedPrintersAreNamedInTheTitleAndFirstInEveryRunsLog) {
    Attach("not-ready.json");
    {
        const InstalledServices simulated({.simulatedScenario = L"scenarios/not-ready.json"});
        Open();
        EXPECT_EQ(surface_.title, GetLangText(TXT_TITLE) + L" \u2014 simulated printers");
        UpgradeThreadProc(&*window_, AfterTransfer::kEndRun);
        UpgradeThreadProc(&*window_, AfterTransfer::kEndRun);
    }
    const std::vector<std::string> messages = log_.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "Simulated printers from scenarios/not-ready.json");
    EXPECT_EQ(std::count(messages.begin(), messages.end(), messages.front()), 2);
}

TEST_F(UpgradeRunTest, PrinterStatusIsTheSignedStatusByteOrFive) {
    EXPECT_EQ(CheckPrinterStatus(L"USB001"), kPrinterStatusUnknown) << "no printer, no channel";
    Attach("not-ready.json");
    EXPECT_EQ(CheckPrinterStatus(L"USB001"), 3);
    EXPECT_EQ(CheckPrinterStatus(L"USB002"), kPrinterStatusUnknown);
    EXPECT_FALSE(Printer()->channelOpen()) << "the channel is closed again";
    Attach("wrong-reply-header.json");
    EXPECT_EQ(CheckPrinterStatus(L"USB001"), kPrinterStatusUnknown);

    // A byte with the top bit set is negative, and so never a ready state.
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(ParseScenario(
        R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\S", "portNumber": 1,)"
        R"( "status": 200}]})",
        scenario, error))
        << error;
    Install(std::move(scenario));
    EXPECT_EQ(CheckPrinterStatus(L"USB001"), -56);
    EXPECT_FALSE(IsReadyForUpgrade(-56));
}

}  // namespace
}  // namespace fwup
