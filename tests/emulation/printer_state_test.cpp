#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulation/printer_state_file.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "emulation/sim_jobs.h"
#include "fakes/instant_clock.h"
#include "fakes/temp_log_dir.h"
#include "log/file_lock.h"

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

// upgrade --all --parallel flashes each printer from a process of its own: a record that finds
// another one under way waits for it, and gives up rather than replace the file beneath it.
TEST_F(PrinterState, ARecordHoldsTheStateFilesLockSoRecordsAtOnceAreAllKept) {
    const std::filesystem::path file = dir_.dir() / "printers.state";
    std::string error;
    {
        const FileLock other((dir_.dir() / "printers.state.lock").wstring());
        ASSERT_TRUE(other.held());
        EXPECT_FALSE(RecordPrinterVersion(file, L"a", "V2.10.9", error));
        EXPECT_NE(error.find("printers.state.lock"), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    ASSERT_TRUE(RecordPrinterVersion(file, L"a", "V2.10.9", error)) << error;
    ASSERT_TRUE(RecordPrinterVersion(file, L"b", "V2.11.0", error)) << error;
    PrinterVersions versions;
    ASSERT_TRUE(ReadPrinterVersions(file, versions, error)) << error;
    EXPECT_EQ(versions, (PrinterVersions{{L"a", "V2.10.9"}, {L"b", "V2.11.0"}}));
}

}  // namespace
}  // namespace fwup
