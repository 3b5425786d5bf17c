#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "emulation/printer_state_file.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "emulation/sim_jobs.h"
#include "fakes/instant_clock.h"
#include "fakes/temp_log_dir.h"
#include "upgrade/writer_processes.h"

namespace fwup {
namespace {

using testing::InstantClock;
using testing::TempLogDir;

// Two printers; the second comes back from its flash on a version of its own.
constexpr const char* kTwoPrinters = R"({
  "stateFile": "printers.state",
  "printers": [
    {"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1},
    {"instanceId": "USB\\VID_5A7C&PID_B101\\SER0002", "portNumber": 2,
     "afterFirmware": {"awaySeconds": 0, "version": "V2.11.0"}}
  ]})";

class PrinterState : public ::testing::Test {
  protected:
    std::filesystem::path WriteScenario(const std::string& json) {
        const std::filesystem::path file = dir_.dir() / "host.json";
        std::ofstream(file, std::ios::binary) << json;
        return file;
    }
    Scenario Load(const std::filesystem::path& file) {
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(LoadScenarioFile(file, scenario, error)) << error;
        return scenario;
    }
    static void Send(SimPrinter& printer, const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(printer.Write(bytes), static_cast<long>(bytes.size()));
    }
    // The data of the version reply, after its 16-byte header.
    static std::string AskVersion(SimPrinter& printer) {
        Send(printer, testing::VersionJob());
        std::vector<std::uint8_t> reply(256);
        const long n = printer.Read(reply);
        return n > 16 ? std::string(reply.begin() + 16, reply.begin() + n) : std::string();
    }

    InstantClock clock_;
    TempLogDir dir_;
};

TEST_F(PrinterState, AWholeFirmwareJobIsRememberedForTheNextRun) {
    const std::filesystem::path scenarioFile = WriteScenario(kTwoPrinters);
    {
        const Scenario first = Load(scenarioFile);
        EXPECT_EQ(first.stateFile, dir_.dir() / "printers.state");
        EXPECT_FALSE(std::filesystem::exists(*first.stateFile));  // nothing flashed yet
        SimInterfaceSource source(first);
        EXPECT_EQ(AskVersion(*source.printer(0)), "V2.10.8");
        Send(*source.printer(0), testing::FirmwareJob(4096));
        Send(*source.printer(1), testing::FirmwareJob(4096));
        EXPECT_EQ(AskVersion(*source.printer(0)), PackageVersionText());
    }
    const Scenario next = Load(scenarioFile);
    EXPECT_EQ(next.printers[0].version, "V2.10.9");
    EXPECT_EQ(next.printers[1].version, "V2.11.0");
    SimInterfaceSource source(next);
    EXPECT_EQ(AskVersion(*source.printer(0)), "V2.10.9");
    EXPECT_TRUE(dir_.Messages().empty());
}

TEST_F(PrinterState, OnlyAWholeJobCountsAndEachPrinterKeepsItsOwn) {
    const std::filesystem::path scenarioFile = WriteScenario(kTwoPrinters);
    {
        SimInterfaceSource source(Load(scenarioFile));
        std::vector<std::uint8_t> cut = testing::FirmwareJob(4096);
        cut.resize(cut.size() - 1);  // the closing UEL never arrives
        Send(*source.printer(0), cut);
        EXPECT_FALSE(std::filesystem::exists(dir_.dir() / "printers.state"));
        Send(*source.printer(1), testing::FirmwareJob(4096));
    }
    const Scenario next = Load(scenarioFile);
    EXPECT_EQ(next.printers[0].version, "V2.10.8");
    EXPECT_EQ(next.printers[1].version, "V2.11.0");
}

TEST_F(PrinterState, WithoutAStateFileEveryRunStartsAfresh) {
    const std::filesystem::path scenarioFile = WriteScenario(
        R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1}]})");
    {
        SimInterfaceSource source(Load(scenarioFile));
        Send(*source.printer(0), testing::FirmwareJob(4096));
        EXPECT_EQ(AskVersion(*source.printer(0)), "V2.10.8");
    }
    EXPECT_EQ(Load(scenarioFile).printers[0].version, "V2.10.8");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.dir()), {}), 1);
}

TEST_F(PrinterState, ADamagedStateFileStopsTheLoadAndNamesIt) {
    const std::filesystem::path scenarioFile = WriteScenario(kTwoPrinters);
    for (const char* damaged : {"{\"printers\": {\"a\": \"V2", "[]", R"({"printers": {"a": 9}})"}) {
        std::ofstream(dir_.dir() / "printers.state", std::ios::binary) << damaged;
        Scenario scenario;
        std::string error;
        EXPECT_FALSE(LoadScenarioFile(scenarioFile, scenario, error)) << damaged;
        EXPECT_NE(error.find("printers.state"), std::string::npos) << error;
        EXPECT_TRUE(scenario.printers.empty());
    }
}

TEST_F(PrinterState, AStateThatCannotBeWrittenIsALogLineNotAFailedJob) {
    const std::filesystem::path scenarioFile = WriteScenario(
        R"({"stateFile": "missing/folder/printers.state",
            "printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1}]})");
    SimInterfaceSource source(Load(scenarioFile));
    Send(*source.printer(0), testing::FirmwareJob(4096));
    ASSERT_EQ(source.printer(0)->Jobs().size(), 1u);
    EXPECT_EQ(source.printer(0)->Jobs()[0].kind, JobKind::kFirmware);
    const std::vector<std::string> messages = dir_.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("new version was not kept"), std::string::npos) << messages[0];
}

constexpr int kStateWriters = 8;
constexpr int kRecordsEach = 5;

std::wstring StatePrinter(int writer) {
    return L"\\\\?\\usb#vid_5a7c&pid_b101#ser000" + std::to_wstring(writer);
}

std::string StateVersion(int writer, int record) {
    return "V2." + std::to_string(writer) + "." + std::to_string(record);
}

// The task: the state file, a tab, the writer's number. Each writer records its own printer over
// and over; its last version is the one to stay.
bool RecordStateShare(const std::string& task) {
    const std::size_t tab = task.find('\t');
    if (tab == std::string::npos) {
        return false;
    }
    const std::filesystem::path file = FromUtf8(task.substr(0, tab));
    const int writer = std::stoi(task.substr(tab + 1));
    bool all = true;
    for (int i = 0; i < kRecordsEach; ++i) {
        std::string error;
        all =
            RecordPrinterVersion(file, StatePrinter(writer), StateVersion(writer, i), error) && all;
    }
    return all;
}

// The writer processes' side on Windows, where they are this binary started again.
TEST(PrinterStateWriter, RecordsItsShareWhenStartedAsAWriter) {
    EXPECT_TRUE(testing::RunWriterTaskIfStarted(RecordStateShare));
}

// Programs flashing different printers at once: each one's version is kept. Unlocked, a writer
// replaced the file with what it had read before another's change. The real clock paces the
// lock's wait, as in the programs.
TEST(PrinterStateWriters, EveryProcessKeepsItsPrinterVersion) {
#ifdef _WIN32
    constexpr int kRounds = 1;  // each writer is a program started under Wine
#else
    constexpr int kRounds = 4;
#endif
    TempLogDir dir;
    const std::filesystem::path file = dir.dir() / "printers.state";
    std::vector<std::string> tasks;
    PrinterVersions expected;
    for (int writer = 0; writer < kStateWriters; ++writer) {
        tasks.push_back(ToUtf8(file.wstring()) + "\t" + std::to_string(writer));
        expected[StatePrinter(writer)] = StateVersion(writer, kRecordsEach - 1);
    }
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        std::filesystem::remove(file);

        const std::vector<int> codes = testing::RunInWriterProcesses(
            tasks, RecordStateShare, "PrinterStateWriter.RecordsItsShareWhenStartedAsAWriter");

        EXPECT_EQ(codes, std::vector<int>(kStateWriters, 0));
        PrinterVersions versions;
        std::string error;
        ASSERT_TRUE(ReadPrinterVersions(file, versions, error)) << error;
        EXPECT_EQ(versions, expected);
    }
    EXPECT_TRUE(dir.Messages().empty());
}

}  // namespace
}  // namespace fwup
