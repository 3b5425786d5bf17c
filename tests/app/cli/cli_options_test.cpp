// The console program's command line, read without running the program.
#include "app/cli/cli_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace fwup::cli {
namespace {

struct Parsed {
    Command command = Command::kNone;
    std::optional<std::string> port = std::nullopt;
    std::optional<std::string> serial = std::nullopt;
    bool all = false;
    bool yes = false;
    bool verify = false;
    std::uint32_t verifyTimeoutSeconds = 600;
    bool json = false;
    std::optional<std::uint32_t> parallel = std::nullopt;
    std::optional<std::string> pinnedInstanceId = std::nullopt;
};

struct AcceptedCase {
    std::vector<std::string> args;
    Parsed parsed;
};

class AcceptedOptions : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedOptions, ReadAsTheyAreMeant) {
    CliOptions options;
    options.json = true;  // left over from an earlier parse: every call starts afresh
    std::string error = "untouched";
    ASSERT_TRUE(ParseCliOptions(GetParam().args, options, error)) << error;
    EXPECT_EQ(error, "untouched");
    const Parsed& want = GetParam().parsed;
    EXPECT_EQ(options.command, want.command);
    EXPECT_EQ(options.port, want.port);
    EXPECT_EQ(options.serial, want.serial);
    EXPECT_EQ(options.all, want.all);
    EXPECT_EQ(options.yes, want.yes);
    EXPECT_EQ(options.verify, want.verify);
    EXPECT_EQ(options.verifyTimeoutSeconds, want.verifyTimeoutSeconds);
    EXPECT_EQ(options.json, want.json);
    EXPECT_EQ(options.parallel, want.parallel);
    EXPECT_EQ(options.pinnedInstanceId, want.pinnedInstanceId);
}

const std::string k255(255, 'S');

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedOptions,
    ::testing::Values(
        AcceptedCase{{"list"}, {.command = Command::kList}},
        AcceptedCase{{"check"}, {.command = Command::kCheck}},
        AcceptedCase{{"upgrade"}, {.command = Command::kUpgrade}},
        AcceptedCase{{"list", "--json"}, {.command = Command::kList, .json = true}},
        // A printer argument that reads as a port is one, in any case; anything else a serial.
        AcceptedCase{{"check", "USB002"}, {.command = Command::kCheck, .port = "USB002"}},
        AcceptedCase{{"check", "usb7"}, {.command = Command::kCheck, .port = "usb7"}},
        AcceptedCase{{"check", "USB"}, {.command = Command::kCheck, .serial = "USB"}},
        AcceptedCase{{"check", "USB00A"}, {.command = Command::kCheck, .serial = "USB00A"}},
        AcceptedCase{{"check", "ABC123"}, {.command = Command::kCheck, .serial = "ABC123"}},
        AcceptedCase{{"check", k255}, {.command = Command::kCheck, .serial = k255}},
        AcceptedCase{{"--port", "USB001", "check"}, {.command = Command::kCheck, .port = "USB001"}},
        // --port takes the value as given, even when it reads as no port.
        AcceptedCase{{"check", "--port", "lp0"}, {.command = Command::kCheck, .port = "lp0"}},
        AcceptedCase{{"upgrade", "--serial", "USB001"},
                     {.command = Command::kUpgrade, .serial = "USB001"}},
        AcceptedCase{
            {"upgrade", "-y", "--verify", "--verify-timeout", "1"},
            {.command = Command::kUpgrade, .yes = true, .verify = true, .verifyTimeoutSeconds = 1}},
        AcceptedCase{{"upgrade", "--yes", "--verify-timeout", "86400"},
                     {.command = Command::kUpgrade, .yes = true, .verifyTimeoutSeconds = 86400}},
        AcceptedCase{{"check", "--all"}, {.command = Command::kCheck, .all = true}},
        AcceptedCase{{"--all", "upgrade", "--yes", "--verify"},
                     {.command = Command::kUpgrade, .all = true, .yes = true, .verify = true}},
        AcceptedCase{{"upgrade", "--verify-timeout", "000030"},
                     {.command = Command::kUpgrade, .verifyTimeoutSeconds = 30}},
        AcceptedCase{{"history", "--json"}, {.command = Command::kHistory, .json = true}},
        // --parallel's count is the number after it, if a number follows.
        AcceptedCase{{"upgrade", "--all", "--parallel"},
                     {.command = Command::kUpgrade, .all = true, .parallel = 0u}},
        AcceptedCase{{"check", "--parallel", "64", "--all"},
                     {.command = Command::kCheck, .all = true, .parallel = 64u}},
        AcceptedCase{{"upgrade", "--parallel", "--all", "--yes"},
                     {.command = Command::kUpgrade, .all = true, .yes = true, .parallel = 0u}},
        AcceptedCase{{"watch", "--verify", "--yes", "--json"},
                     {.command = Command::kWatch, .yes = true, .verify = true, .json = true}},
        AcceptedCase{{"check", "--pinned-instance-id", "USB\\V\\S", "--pinned-interface-path", "p",
                      "--pinned-port", "", "--json"},
                     {.command = Command::kCheck, .json = true, .pinnedInstanceId = "USB\\V\\S"}},
        // Help and version win over every check of what else was given, command or none.
        AcceptedCase{{"--help"}, {.command = Command::kHelp}},
        AcceptedCase{{"-h", "--version"}, {.command = Command::kHelp}},
        AcceptedCase{{"list", "--port", "USB001", "--help"},
                     {.command = Command::kHelp, .port = "USB001"}},
        AcceptedCase{{"--version"}, {.command = Command::kVersion}},
        AcceptedCase{{"check", "--yes", "--version"},
                     {.command = Command::kVersion, .yes = true}}));

struct RefusedCase {
    std::vector<std::string> args;
    std::string error;
};

class RefusedOptions : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOptions, NameTheirFault) {
    CliOptions options;
    std::string error;
    EXPECT_FALSE(ParseCliOptions(GetParam().args, options, error));
    EXPECT_EQ(error, GetParam().error);
}

const char* const kTimeoutError = "--verify-timeout needs a number of seconds from 1 to 86400";
const char* const kParallelError = "--parallel takes a number of runs at once from 1 to 64";
const char* const kWatchChoiceError = "watch takes every printer attached, and no printer choice";
const char* const kPinnedPairError = "--pinned-instance-id and --pinned-interface-path go together";
const char* const kPinnedOnlyError = "a pinned printer is the only choice of one check or upgrade";

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedOptions,
    ::testing::Values(
        RefusedCase{{}, "no command given"}, RefusedCase{{"--json"}, "no command given"},
        RefusedCase{{"flash"}, "unknown command 'flash'"},
        RefusedCase{{"LIST"}, "unknown command 'LIST'"},
        RefusedCase{{"upgrade", "--frobnicate"}, "unknown option '--frobnicate'"},
        RefusedCase{{"upgrade", "-"}, "unknown option '-'"},
        // An unknown option ends the parse before --help is seen.
        RefusedCase{{"--frobnicate", "--help"}, "unknown option '--frobnicate'"},
        RefusedCase{{"check", "USB001", "USB002"}, "unexpected argument 'USB002'"},
        RefusedCase{{"check", ""}, "unexpected argument ''"},
        RefusedCase{{"check", std::string(256, 'S')},
                    "unexpected argument '" + std::string(256, 'S') + "'"},
        RefusedCase{{"check", "--port"}, "--port needs a value"},
        RefusedCase{{"check", "--serial", ""}, "--serial needs a value"},
        RefusedCase{{"check", "--serial", std::string(256, 'S')}, "--serial needs a value"},
        RefusedCase{{"upgrade", "--verify-timeout"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", "0"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", "86401"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", "1000000"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", "-5"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", "1s"}, kTimeoutError},
        RefusedCase{{"upgrade", "--verify-timeout", ""}, kTimeoutError},
        RefusedCase{{"check", "USB001", "--serial", "X"},
                    "choose the printer once: a printer argument or --port or --serial"},
        RefusedCase{{"check", "--port", "USB001", "ABC"},
                    "choose the printer once: a printer argument or --port or --serial"},
        RefusedCase{{"check", "--port", "USB001", "--serial", "X"},
                    "--port and --serial cannot be combined"},
        RefusedCase{{"list", "USB001"}, "list takes no printer"},
        RefusedCase{{"list", "--serial", "X"}, "list takes no printer"},
        RefusedCase{{"list", "--all"}, "--all belongs to check and upgrade"},
        RefusedCase{{"upgrade", "--all", "--port", "USB001"}, "--all takes no printer choice"},
        RefusedCase{{"check", "--serial", "X", "--all"}, "--all takes no printer choice"},
        RefusedCase{{"upgrade", "--all", "SER0001"}, "--all takes no printer choice"},
        RefusedCase{{"history", "USB001"}, "history takes no printer"},
        RefusedCase{{"history", "--verify"}, "--yes and --verify belong to upgrade and watch"},
        RefusedCase{{"history", "--all"}, "--all belongs to check and upgrade"},
        RefusedCase{{"check", "--yes"}, "--yes and --verify belong to upgrade and watch"},
        RefusedCase{{"list", "--verify"}, "--yes and --verify belong to upgrade and watch"}));

}  // namespace
}  // namespace fwup::cli
