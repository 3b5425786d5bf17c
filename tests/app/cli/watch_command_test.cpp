// watch: which printer gets a run as printers come and go, with which options, and how it ends.
#include "app/cli/watch_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/exit_codes.h"
#include "app/cli/fake_child.h"
#include "app/cli/interrupt_state.h"
#include "device/printer_arrivals.h"
#include "fakes/instant_clock.h"

namespace fwup::cli {
namespace {

using testing::Exited;
using testing::FakeChildren;
using testing::ResultLine;

DeviceEntry On(int port, int serial) {
    return {.ModelName = L"Viruzu TQ3800HKR Series",
            .PortName = L"USB00" + std::to_wstring(port),
            .InstanceId = L"USB\\VID_5A7C&PID_B101\\SER000" + std::to_wstring(serial),
            .InterfacePath = L"path" + std::to_wstring(port)};
}

bool Has(const std::vector<std::string>& args, const char* word) {
    return std::find(args.begin(), args.end(), word) != args.end();
}

std::vector<nlohmann::json> Objects(const std::string& out) {
    std::vector<nlohmann::json> objects;
    for (const std::string& line : testing::Lines(out)) {
        objects.push_back(nlohmann::json::parse(line));
    }
    return objects;
}

struct Watching : ::testing::Test {
    fwup::testing::InstantClock clock;
    InterruptState interrupts;
    FakeChildren children;
    std::string out;
    CliOptions options = [] {
        CliOptions watch;
        watch.command = Command::kWatch;
        watch.yes = true;
        watch.json = true;
        return watch;
    }();

    // Runs watch over `listings`, one per listing it takes; the interrupt comes after the last.
    int Watch(std::vector<DeviceList> listings, ArrivalWatch* arrivals = nullptr) {
        std::size_t next = 0;
        WatchSources sources{.listPrinters =
                                 [&](DeviceList& listed) {
                                     listed = listings[std::min(next, listings.size() - 1)];
                                     if (++next >= listings.size()) {
                                         interrupts.requested.store(true);
                                     }
                                     return 1;
                                 },
                             .arrivals = arrivals};
        return WatchCommand(
            options, ProgressStyle::kJson, [this](std::string_view text) { out += text; },
            children.Starter(), sources, interrupts, clock);
    }
};

TEST_F(Watching, EachArrivalGetsOneRunAndAPrinterBackOnTheNewFirmwareNoSecondJob) {
    // Every run sends the whole job; the third arrival of SER0001 finds it sent twice already.
    for (int i = 0; i < 4; ++i) {
        children.scripts.push_back(
            {.chunks = {ResultLine(i == 2 ? 6 : 0, i == 2 ? "declined" : "succeeded",
                                   i == 2 ? 0 : 600)},
             .end = Exited(i == 2 ? 6 : 0)});
    }
    const DeviceList a = {On(1, 1)}, ab = {On(1, 1), On(2, 2)}, b = {On(2, 2)};
    const DeviceList bAgain = {On(2, 2), On(3, 1)};  // SER0001 back, in another socket
    const int code = Watch({a, ab, b, bAgain, b, {On(2, 2), On(1, 1)}, b, ab, ab});

    ASSERT_EQ(children.started.size(), 4u) << out;
    // SER0001 first, with --yes; SER0002 with --yes; SER0001 back: no --yes, so a printer on the
    // package's version is declined, not flashed again; back a second time: flashed again, as
    // its second run sent the job; a third time: nothing (sent twice).
    EXPECT_TRUE(Has(children.started[0], "--yes"));
    EXPECT_TRUE(Has(children.started[1], "--yes"));
    EXPECT_FALSE(Has(children.started[2], "--yes"));
    EXPECT_FALSE(Has(children.started[3], "--yes"));
    EXPECT_TRUE(Has(children.started[2], "USB003"));

    std::vector<std::string> notes;
    for (const nlohmann::json& o : Objects(out)) {
        if (o.contains("event")) {
            notes.push_back(o["event"].get<std::string>() + " " + o["port"].get<std::string>());
        }
    }
    EXPECT_EQ(notes,
              (std::vector<std::string>{"arrived USB001", "arrived USB002", "departed USB001",
                                        "arrived USB003", "departed USB003", "arrived USB001",
                                        "departed USB001", "arrived USB001", "skipped USB001"}));
    const nlohmann::json summary = Objects(out).back();
    EXPECT_EQ(summary["result"], "summary");
    EXPECT_EQ(summary["printers"].size(), 4u);
    EXPECT_EQ(code, kExitSucceeded) << "succeeded and declined (current) runs only";
}

TEST_F(Watching, NoPrinterEverIsNotConnectedAndAFailureShowsInTheExitCode) {
    EXPECT_EQ(Watch({{}, {}}), kExitNotConnected);
    children.scripts = {{.chunks = {ResultLine(5, "not-ready")}, .end = Exited(5)}};
    out.clear();
    interrupts.requested.store(false);
    EXPECT_EQ(Watch({{On(1, 1)}, {On(1, 1)}}), kExitSomeFailed);
}

// Says something changed on every look, so that watch lists again at each turn.
class EveryLookChanges final : public ArrivalWatch {
  public:
    std::uint64_t Changes() override { return ++changes_; }

  private:
    std::uint64_t changes_ = 0;
};

TEST_F(Watching, APrinterBackWhileItsOwnRunGoesOnIsThatRunsToVerify) {
    children.scripts = {
        {.chunks = {"{\"event\": \"step\", \"step\": \"verify\"}\n"}, .leftOpen = true}};
    EveryLookChanges arrivals;
    std::size_t next = 0;
    const std::vector<DeviceList> listings = {{On(1, 1)}, {}, {On(1, 1)}, {On(1, 1)}};
    WatchSources sources{.listPrinters =
                             [&](DeviceList& listed) {
                                 listed = listings[std::min(next, listings.size() - 1)];
                                 // The flash: gone and back while the run waits; then it ends.
                                 if (++next == 2) {
                                     children.children[0]->Feed("{\"event\": \"progress\"}\n");
                                 }
                                 if (next == 3) {
                                     children.children[0]->Feed(ResultLine(0, "succeeded", 600));
                                     children.children[0]->Close(Exited(0));
                                 }
                                 if (next >= listings.size()) {
                                     interrupts.requested.store(true);
                                 }
                                 return 1;
                             },
                         .arrivals = &arrivals};
    WatchCommand(
        options, ProgressStyle::kJson, [this](std::string_view text) { out += text; },
        children.Starter(), sources, interrupts, clock);
    EXPECT_EQ(children.started.size(), 1u) << out;
    EXPECT_EQ(Objects(out).back()["exitCode"], kExitSucceeded);
}

}  // namespace
}  // namespace fwup::cli
