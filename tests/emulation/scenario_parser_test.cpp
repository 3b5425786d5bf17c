#include "emulation/scenario_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fwup {
namespace {

TEST(ScenarioParser, EveryExampleScenarioLoads) {
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FWUP_SCENARIO_DIR)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(LoadScenarioFile(entry.path(), scenario, error)) << error;
        EXPECT_FALSE(scenario.printers.empty()) << entry.path();
        ++loaded;
    }
    EXPECT_GE(loaded, 7);
}

TEST(ScenarioParser, FillsDefaultsAndReadsThePrinterKeys) {
    const std::string json = R"({
      "description": "keys the fault tests do not carry",
      "printers": [
        {"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001"},
        {"instanceId": "USB\\X", "interfacePath": "\\\\?\\custom", "portNumber": 9999,
         "status": 255, "version": "V2.11.0",
         "openLimit": 2, "security": {"security": 32, "length": 100, "crcBytesEqual": true}},
        {"instanceId": "USB\\Y", "security": {"raw": "00 ac FF\n01"}}
      ]})";
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(ParseScenario(json, scenario, error)) << error;
    ASSERT_EQ(scenario.printers.size(), 3u);

    const PrinterScenario& plain = scenario.printers[0];
    EXPECT_EQ(plain.instanceId, L"USB\\VID_5A7C&PID_B101\\SER0001");
    EXPECT_EQ(plain.interfacePath,
              L"\\\\?\\usb#vid_5a7c&pid_b101#ser0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    EXPECT_FALSE(plain.portNumber || plain.openLimit || plain.security.raw);
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.readTimeoutMs, 1000u);
    EXPECT_EQ(plain.security.length, 172u);

    const PrinterScenario& full = scenario.printers[1];
    EXPECT_EQ(full.interfacePath, L"\\\\?\\custom");
    EXPECT_EQ(full.portNumber, 9999u);
    EXPECT_EQ(full.status, 255);
    EXPECT_EQ(full.version, "V2.11.0");
    EXPECT_EQ(full.openLimit, 2u);
    EXPECT_EQ(full.security.security, 32);
    EXPECT_EQ(full.security.length, 100u);
    EXPECT_TRUE(full.security.crcBytesEqual);

    EXPECT_TRUE(scenario.printers[2].security.raw);
    EXPECT_EQ(scenario.printers[2].security.rawBytes,
              (std::vector<std::uint8_t>{0x00, 0xAC, 0xFF, 0x01}));
}

struct BadScenario {
    const char* name;
    std::string json;
    std::string message;
    friend void PrintTo(const BadScenario& value, std::ostream* os) { *os << value.name; }
};

class ScenarioErrors : public ::testing::TestWithParam<BadScenario> {};

std::string Printer(const std::string& members) {
    return R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\1")" + members + "}]}";
}

// The timed triggers land on the printer's `appears`/`leaves` trigger, and a timed `leaves` goes
// with a counted `appears`.
TEST(ScenarioParser, ReadsTheTimedTriggers) {
    struct Row {
        std::string members;
        std::optional<std::uint32_t> appears;
        std::optional<std::uint32_t> leaves;
    };
    const Row rows[] = {
        {"", std::nullopt, std::nullopt},
        {R"(, "appearsAfterSeconds": 1)", 1, std::nullopt},
        {R"(, "leavesAfterSeconds": 86400)", std::nullopt, 86400},
        {R"(, "appearsAfterSeconds": 3, "leavesAfterSeconds": 8)", 3, 8},
        {R"(, "appears": {"afterOpens": 2}, "leavesAfterSeconds": 8)", std::nullopt, 8},
    };
    for (const Row& row : rows) {
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(ParseScenario(Printer(row.members), scenario, error)) << row.members << error;
        const PrinterScenario& printer = scenario.printers[0];
        EXPECT_EQ(printer.appears.afterSeconds, row.appears) << row.members;
        EXPECT_EQ(printer.leaves.afterSeconds, row.leaves) << row.members;
    }
}

TEST_P(ScenarioErrors, NameTheKeyAndLeaveTheScenarioAlone) {
    Scenario scenario;
    scenario.printers.resize(5);
    std::string error;
    EXPECT_FALSE(ParseScenario(GetParam().json, scenario, error));
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
    EXPECT_EQ(scenario.printers.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, ScenarioErrors,
    ::testing::Values(
        BadScenario{"UnknownPrinterKey", Printer(R"(, "stauts": 0)"),
                    "unknown key 'printers[0].stauts'"},
        BadScenario{"UnknownFaultKey", Printer(R"(, "faults": {"failreads": 1})"),
                    "unknown key 'printers[0].faults.failreads'"},
        BadScenario{"AwayBeyondADay", Printer(R"(, "afterFirmware": {"awaySeconds": 86401})"),
                    "'printers[0].afterFirmware.awaySeconds' must be an integer from 0 to 86400"},
        BadScenario{"QueueWithoutPort", R"({"printers": [], "printQueues": [{"jobs": 1}]})",
                    "printQueues[0].portName"},
        BadScenario{"StatusTooBig", Printer(R"(, "status": 256)"),
                    "'printers[0].status' must be an integer from 0 to 255"},
        BadScenario{"NegativeCount", Printer(R"(, "faults": {"failReads": -1})"),
                    "'printers[0].faults.failReads' must be an integer from 0"},
        BadScenario{"FractionalCount", Printer(R"(, "faults": {"failWrites": 1.5})"),
                    "'printers[0].faults.failWrites' must be an integer"},
        BadScenario{"PortTooBig", Printer(R"(, "portNumber": 10000)"),
                    "'printers[0].portNumber' must be an integer from 0 to 9999"},
        BadScenario{"FlagAsNumber", Printer(R"(, "faults": {"badCrc": 1})"),
                    "'printers[0].faults.badCrc' must be true or false"},
        BadScenario{"MissingInstanceId", R"({"printers": [{"portNumber": 1}]})",
                    "'printers[0].instanceId' is missing"},
        BadScenario{"RootNotObject", R"([])", "must be a JSON object"},
        BadScenario{"BrokenJson", "{\n  \"printers\": [,]\n}",
                    "invalid JSON: parse error at line 2"},
        BadScenario{"TooDeep", R"({"printers": [[[[[[[[[[[[]]]]]]]]]]]]})", "deeper than"},
        BadScenario{"RawAndBuilt", Printer(R"(, "security": {"raw": "00", "security": 1})"),
                    "'printers[0].security' takes either 'raw' or 'security'"},
        BadScenario{"RawNotHex", Printer(R"(, "security": {"raw": "0g"})"),
                    "'printers[0].security.raw' must be hex bytes"},
        BadScenario{"BadCrcOnRaw",
                    Printer(R"(, "security": {"raw": "00"}, "faults": {"badCrc": true})"),
                    "'printers[0].faults.badCrc' needs a built security record"},
        BadScenario{"HotplugTwoTriggers", Printer(R"(, "appears": {"afterOpens": 2, "atByte": 9})"),
                    "'printers[0].appears' takes one of 'afterOpens' and 'atByte'"},
        BadScenario{"HotplugNoTrigger", Printer(R"(, "leaves": {})"),
                    "'printers[0].leaves' takes one of"},
        BadScenario{"AppearsAfterNegative", Printer(R"(, "appearsAfterSeconds": -3)"),
                    "'printers[0].appearsAfterSeconds' must be an integer from 1 to 86400"},
        BadScenario{"AppearsAfterZero", Printer(R"(, "appearsAfterSeconds": 0)"),
                    "'printers[0].appearsAfterSeconds' must be an integer from 1 to 86400"},
        BadScenario{"AppearsAfterText", Printer(R"(, "appearsAfterSeconds": "3")"),
                    "'printers[0].appearsAfterSeconds' must be an integer"},
        BadScenario{"LeavesAfterFraction", Printer(R"(, "leavesAfterSeconds": 2.5)"),
                    "'printers[0].leavesAfterSeconds' must be an integer"},
        BadScenario{"LeavesAfterBeyondADay", Printer(R"(, "leavesAfterSeconds": 86401)"),
                    "'printers[0].leavesAfterSeconds' must be an integer from 1 to 86400"},
        BadScenario{"LeavesAfterHuge", Printer(R"(, "leavesAfterSeconds": 18446744073709551615)"),
                    "'printers[0].leavesAfterSeconds' must be an integer from 1 to 86400"},
        BadScenario{"AppearsTwice",
                    Printer(R"(, "appears": {"afterOpens": 1}, "appearsAfterSeconds": 3)"),
                    "'printers[0].appearsAfterSeconds' cannot be given with 'appears'"},
        BadScenario{"LeavesBeforeItAppears",
                    Printer(R"(, "appearsAfterSeconds": 5, "leavesAfterSeconds": 5)"),
                    "'printers[0].leavesAfterSeconds' must be later than its"},
        BadScenario{"PortNumberWhereNumberedByPosition",
                    R"({"portNumbers": "byPosition", "printers": [{"instanceId": "USB\\A",)"
                    R"( "portNumber": 1}]})",
                    "'printers[0].portNumber' cannot be given"},
        BadScenario{"UnknownNumbering", R"({"portNumbers": "random", "printers": []})",
                    "'portNumbers' must be \"fixed\" or \"byPosition\""},
        BadScenario{"SamePath",
                    R"({"printers": [{"instanceId": "USB\\A"}, {"instanceId": "usb\\a"}]})",
                    "'printers[1].interfacePath' is the same as that of printers[0]"}),
    [](const ::testing::TestParamInfo<BadScenario>& info) { return info.param.name; });

class ScenarioFile : public ::testing::Test {
  protected:
    std::filesystem::path TempFile(const std::string& contents) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("fwup-scenario-") + test->name() + ".json");
        std::ofstream(path_, std::ios::binary) << contents;
        return path_;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::filesystem::path path_;
};

TEST_F(ScenarioFile, UnreadableOverLongAndBrokenFilesAreNamedInTheError) {
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(LoadScenarioFile(FWUP_SCENARIO_DIR "/no-such-file.json", scenario, error));
    EXPECT_NE(error.find("cannot open scenario file"), std::string::npos) << error;
    EXPECT_FALSE(LoadScenarioFile(FWUP_SCENARIO_DIR, scenario, error));
    EXPECT_NE(error.find("cannot open scenario file"), std::string::npos) << error;

    EXPECT_FALSE(LoadScenarioFile(TempFile(Printer("") + std::string(kMaxScenarioBytes, ' ')),
                                  scenario, error));
    EXPECT_NE(error.find("is larger than 1048576 bytes"), std::string::npos) << error;

    EXPECT_FALSE(LoadScenarioFile(TempFile(Printer(R"(, "status": -1)")), scenario, error));
    EXPECT_NE(error.find(".json: 'printers[0].status'"), std::string::npos) << error;
    EXPECT_TRUE(scenario.printers.empty());
}

}  // namespace
}  // namespace fwup
