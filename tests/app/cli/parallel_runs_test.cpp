// Several printers' runs at once, each a child process (faked here): what reaches the output, how
// each run's end counts, how many run at once, and what an interrupt does.
#include "app/cli/parallel_runs.h"

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/exit_codes.h"
#include "app/cli/fake_child.h"
#include "app/cli/interrupt_state.h"
#include "fakes/instant_clock.h"

namespace fwup::cli {
namespace {

using testing::Exited;
using testing::FakeChildren;
using testing::Lines;
using testing::ResultLine;

DeviceEntry Printer(int n, std::wstring serial = {}) {
    const std::wstring number = std::to_wstring(n);
    if (serial.empty()) {
        serial = L"SER000" + number;
    }
    return {.ModelName = L"Viruzu TQ3800HKR Series",
            .PortName = L"USB00" + number,
            .InstanceId = L"USB\\VID_5A7C&PID_B101\\" + serial,
            .InterfacePath = L"path" + number};
}

struct Parallel : ::testing::Test {
    fwup::testing::InstantClock clock;
    InterruptState interrupts;
    FakeChildren children;
    std::string out;
    CliOptions options = [] {
        CliOptions upgradeAll;
        upgradeAll.command = Command::kUpgrade;
        upgradeAll.all = true;
        upgradeAll.parallel = 0u;
        upgradeAll.yes = true;
        return upgradeAll;
    }();

    int Run(const DeviceList& printers, ProgressStyle style = ProgressStyle::kJson) {
        return RunAllInParallel(
            printers, options, style, [this](std::string_view text) { out += text; },
            children.Starter(), interrupts, clock);
    }
};

TEST_F(Parallel, EveryLineIsWholeAndNamesItsPrinter) {
    const std::string step = "{\"event\": \"step\", \"step\": \"transfer\"}\n";
    children.scripts = {
        // The first child's lines come cut anywhere, its event split across reads.
        {.chunks = {"{\"event\": \"simulated\", \"scenario\": \"x\"}\n{\"event\": \"st",
                    "ep\", \"step\": \"transfer\"}\n{\"event\": \"progress\", \"percent\": 5",
                    "0}\n" + ResultLine(0, "succeeded", 100)},
         .end = Exited(0)},
        // The second writes its lines as a Windows child does, each ending in CR LF.
        {.chunks = {"{\"event\": \"step\", \"step\": \"transfer\"}\r\n", "not json\r\n",
                    "{\"result\": \"failed\", \"exitCode\": 9, \"schema\": 1, \"bytesSent\": 0}\r",
                    "\n{\"event\": \"cut off"},
         .end = Exited(9)},
        // Ended by a signal before it said how: a result line of ours says so.
        {.chunks = {step}, .end = {.how = "ended by signal 11"}},
    };
    const DeviceList printers = {Printer(1), Printer(2), Printer(3), Printer(1)};
    EXPECT_EQ(Run(printers), kExitSomeFailed) << out;

    ASSERT_EQ(children.started.size(), 3u) << "a printer listed twice is run once";
    std::map<std::string, std::vector<std::string>> seen;  // port: events and results
    const std::vector<std::string> lines = Lines(out);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << "a line end passed on as text: " << line;
        const nlohmann::json object = nlohmann::json::parse(line);  // throws on a cut line
        if (object.value("result", "") == "summary") {
            EXPECT_EQ(&line, &lines.back());
            continue;
        }
        ASSERT_TRUE(object.contains("port") && object.contains("instanceId")) << line;
        seen[object["port"]].push_back(object.value("event", object.value("result", "")));
    }
    using V = std::vector<std::string>;
    EXPECT_EQ(seen["USB001"], (V{"step", "progress", "succeeded"})) << out;
    EXPECT_EQ(seen["USB002"], (V{"step", "failed"}));
    EXPECT_EQ(seen["USB003"], (V{"step", "error"}));
    EXPECT_NE(out.find("the printer's run was ended by signal 11"), std::string::npos);
    const nlohmann::json summary = nlohmann::json::parse(lines.back());
    ASSERT_EQ(summary["printers"].size(), 3u);
    EXPECT_EQ(summary["printers"][0]["exitCode"], 0);
    EXPECT_EQ(summary["printers"][1]["exitCode"], 9);
    EXPECT_EQ(summary["printers"][2]["exitCode"], kExitError);
    EXPECT_EQ(summary["printers"][2]["port"], "USB003");
}

TEST_F(Parallel, EachChildIsPinnedToItsPrinterWithTheRunsOptions) {
    options.verify = true;
    options.verifyTimeoutSeconds = 30;
    Run({Printer(2)});
    ASSERT_EQ(children.started.size(), 1u);
    EXPECT_EQ(children.started[0],
              (std::vector<std::string>{
                  "upgrade", "--json", "--pinned-instance-id", "USB\\VID_5A7C&PID_B101\\SER0002",
                  "--pinned-interface-path", "path2", "--pinned-port", "USB002", "--pinned-model",
                  "Viruzu TQ3800HKR Series", "--yes", "--verify", "--verify-timeout", "30"}));
    options.command = Command::kCheck;
    Run({Printer(2)});
    EXPECT_EQ(children.started[1].size(), 10u) << "check takes none of upgrade's options";
}

TEST_F(Parallel, NoMoreRunsAtOnceThanAsked) {
    ParallelView view(ProgressStyle::kJson, [this](std::string_view text) { out += text; });
    std::size_t endsTaken = 0;
    std::vector<std::size_t> runningAtStart;
    const ChildStarter fake = children.Starter();
    ParallelRuns runs(
        view,
        [&](const std::vector<std::string>& args, std::string& error) {
            runningAtStart.push_back(children.started.size() - endsTaken);
            children.scripts.push_back({.chunks = {ResultLine(0, "succeeded")}, .end = Exited(0)});
            return fake(args, error);
        },
        interrupts, clock);
    runs.onEnded = [&](std::size_t, int) { ++endsTaken; };
    for (int i = 1; i <= 5; ++i) {
        runs.Add(Printer(i), {"upgrade"});
    }
    while (runs.Busy()) {
        runs.Step(2, 100);
    }
    for (const std::size_t running : runningAtStart) {
        EXPECT_LT(running, 2u);
    }
    EXPECT_EQ(runningAtStart.size(), 5u);
    EXPECT_EQ(runs.Outcomes().size(), 5u);
}

TEST_F(Parallel, AnInterruptStopsWhatHasNotBegunAndAsksTheRunningToStop) {
    options.parallel = 1;
    children.scripts = {
        {.chunks = {"{\"event\": \"step\", \"step\": \"transfer\"}\n"}, .leftOpen = true}};
    std::shared_ptr<testing::FakeChildState> first;
    int askedToStop = 0;
    const int code = RunAllInParallel(
        {Printer(1), Printer(2), Printer(3)}, options, ProgressStyle::kJson,
        [&](std::string_view text) {
            out += text;
            if (text.find("\"transfer\"") != std::string_view::npos) {
                // The first run is in its transfer: Ctrl-C.
                first = children.children[0];
                interrupts.requested.store(true);
            }
            if (text.find("interrupted before") != std::string_view::npos && first) {
                askedToStop = first->interrupts();
                // Its transfer goes on to its end, whatever we asked.
                first->Feed(ResultLine(0, "succeeded", 600));
                first->Close(Exited(0));
                first.reset();
            }
        },
        children.Starter(), interrupts, clock);
    EXPECT_EQ(code, kExitSomeFailed);
    ASSERT_EQ(children.started.size(), 1u) << "nothing begins after the interrupt";
    EXPECT_EQ(askedToStop, 1) << "asked while its transfer went on";
    const nlohmann::json summary = nlohmann::json::parse(Lines(out).back());
    EXPECT_EQ(summary["printers"][0]["exitCode"], 0);
    EXPECT_EQ(summary["printers"][1]["exitCode"], kExitInterrupted);
    EXPECT_EQ(summary["printers"][2]["exitCode"], kExitInterrupted);
}

TEST_F(Parallel, AChildThatCannotStartEndsItsPrinterOnly) {
    children.refuse = true;
    EXPECT_EQ(Run({Printer(1)}), kExitSomeFailed);
    EXPECT_NE(out.find("could not be started: no such program"), std::string::npos) << out;
}

TEST_F(Parallel, TextNamesThePrinterOfEveryMilestoneAndShowsItsStringsSafely) {
    children.scripts = {
        {.chunks = {"{\"event\": \"step\", \"step\": \"check-printer\"}\n",
                    "{\"event\": \"message\", \"textId\": 8, \"text\": \"Line one\\r\\nline "
                    "two\\u001b[2J\"}\n",
                    "{\"event\": \"progress\", \"percent\": 50, \"sent\": 50, \"total\": 100}\n",
                    "{\"result\": \"failed\", \"exitCode\": 9, \"reason\": \"bad\\u202e\"}\n"},
         .end = Exited(9)}};
    Run({Printer(1, L"SER\x1b]0;owned\x07")}, ProgressStyle::kTenths);
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_EQ(out.find("\xE2\x80\xAE"), std::string::npos) << "U+202E shown, not acting";
    const std::string label = "USB001 SER\\x1b]0;owned\\x07: ";
    EXPECT_NE(out.find(label + "checking the printer\n"), std::string::npos) << out;
    EXPECT_NE(out.find(label + "Line one line two\\x1b[2J\n"), std::string::npos) << out;
    EXPECT_NE(out.find(label + "50 % (50 / 100 bytes)\n"), std::string::npos) << out;
    EXPECT_NE(out.find(label + "failed (9): bad\\u202e\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Summary: 1 printer, exit code 13"), std::string::npos) << out;
}

TEST_F(Parallel, ATerminalGetsOneRedrawnLinePerRunningPrinterThatNeverWraps) {
    children.scripts = {
        {.chunks = {"{\"event\": \"step\", \"step\": \"transfer\"}\n"
                    "{\"event\": \"progress\", \"percent\": 50, \"sent\": 50, \"total\": 100}\n"},
         .leftOpen = true},
        {.chunks = {ResultLine(0, "succeeded")}, .end = Exited(0)}};
    RunAllInParallel(
        {Printer(1, std::wstring(200, L'S')), Printer(2)}, options, ProgressStyle::kTerminal,
        [&](std::string_view text) {
            out += text;
            clock.Advance(1000);  // every redraw is due
            if (text.find("sending 50 %") != std::string_view::npos) {
                // Drawn while it runs; now it ends.
                children.children[0]->Feed(ResultLine(0, "succeeded"));
                children.children[0]->Close(Exited(0));
            }
        },
        children.Starter(), interrupts, clock);
    ASSERT_NE(out.find("sending 50 %"), std::string::npos) << out;
    // The block's lines are counted to redraw them: one that wrapped would break the count.
    for (const std::string& line : Lines(out)) {
        const std::size_t drawn = line.rfind("\x1b[J");
        const std::string shown = drawn == std::string::npos ? line : line.substr(drawn + 3);
        if (shown.find("sending") != std::string::npos ||
            shown.find("starting") != std::string::npos) {
            EXPECT_LE(shown.size(), 80u) << shown;
        }
    }
    EXPECT_NE(out.find("USB002 SER0002: succeeded (0)"), std::string::npos) << out;
}

}  // namespace
}  // namespace fwup::cli
