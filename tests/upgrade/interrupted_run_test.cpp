// An interrupt that arrives while a step before the transfer waits on another process (the power
// service, the print server, the inhibitor of sleep): the wait is told through its stop check, the
// run ends interrupted at once, and not one firmware byte reaches the printer.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/common/program_services.h"
#include "emulation/sim_interface_source.h"
#include "upgrade/print_queues.h"
#include "upgrade/run_record.h"
#include "upgrade/stop_check.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::GuardProbe;
using testing::UpgradeRunTest;

// A front end without a window: chooses the first printer, answers Yes, and asks to stop once
// the test says so.
class StoppableFrontEnd final : public UpgradeFrontEnd {
  public:
    void OnRunBegins() override {}
    void ReturnToReady() override {}
    void ClearPrinters() override { printers = 0; }
    void AddPrinter(int, const DeviceEntry&) override { ++printers; }
    void SelectPrinter(int) override {}
    int SelectedPrinter() override { return printers > 0 ? 0 : -1; }
    void ShowStatus(int, int) override {}
    void ShowMessage(int) override {}
    bool AskYesNo(int) override { return true; }
    void OnStep(UpgradeStep step) override { steps.push_back(step); }
    bool StopRequested() override { return stop; }
    void OnTransferProgress(std::size_t, std::size_t) override {}

    bool stop = false;
    int printers = 0;
    std::vector<UpgradeStep> steps;
};

// The print server's answer, with the test's hook called while it is asked.
class HookedQueues final : public PrintQueueSource {
  public:
    explicit HookedQueues(std::function<void()> hook) : hook_(std::move(hook)) {}
    std::optional<std::vector<PrintQueue>> ListQueues() override {
        hook_();
        return std::vector<PrintQueue>{};
    }

  private:
    std::function<void()> hook_;
    const InstalledServices installed_{{.printQueues = this}};
};

enum class StopDuring { kNothing, kPowerRead, kQueueListing, kGuardTaking };

struct StopCase {
    const char* name = "";
    const char* scenario = "";
    StopDuring during = StopDuring::kNothing;
    UpgradeOutcome outcome = UpgradeOutcome::kInterrupted;
    std::vector<JobKind> jobs{};
    int guardsTaken = 0;
};

std::ostream& operator<<(std::ostream& out, const StopCase& run) {
    return out << run.name;
}

class InterruptedRun : public UpgradeRunTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(InterruptedRun, EndsAtOnceWithNothingSent) {
    const StopCase& run = GetParam();
    Attach(run.scenario);
    StoppableFrontEnd frontEnd;
    // The stop arrives while the wait is on: the waiting side must see it through its check.
    const auto stopNow = [&frontEnd](const StopCheck& stopped) {
        EXPECT_FALSE(Stopped(stopped));
        frontEnd.stop = true;
        EXPECT_TRUE(Stopped(stopped)) << "the wait is told of the stop";
    };
    if (run.during == StopDuring::kPowerRead) {
        power_.onRead = stopNow;
    }
    GuardProbe guards;
    if (run.during == StopDuring::kGuardTaking) {
        guards.onTake = stopNow;
    }
    std::optional<HookedQueues> queues;
    if (run.during == StopDuring::kQueueListing) {
        queues.emplace([&frontEnd] { frontEnd.stop = true; });
    }
    RunRecord record;

    EXPECT_EQ(RunUpgrade(frontEnd, &record), run.outcome);

    EXPECT_EQ(JobKinds(), run.jobs);
    EXPECT_EQ(guards.taken, run.guardsTaken);
    EXPECT_EQ(guards.held, 0) << "a guard given up on is released at once";
    if (run.outcome == UpgradeOutcome::kInterrupted) {
        EXPECT_EQ(std::count(frontEnd.steps.begin(), frontEnd.steps.end(), UpgradeStep::kTransfer),
                  0)
            << "the transfer is never announced, so the front end counts nothing as sent";
        EXPECT_EQ(record.bytesSent, 0);
        EXPECT_EQ(record.result, "interrupted");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stops, InterruptedRun,
    ::testing::Values(
        StopCase{.name = "NoStopSendsThePackage",
                 .scenario = "one-printer-ready.json",
                 .outcome = UpgradeOutcome::kSucceeded,
                 .jobs = {JobKind::kStatus, JobKind::kVersion, JobKind::kFirmware},
                 .guardsTaken = 1},
        StopCase{.name = "DuringThePowerReadNoPrinterIsAsked",
                 .scenario = "one-printer-ready.json",
                 .during = StopDuring::kPowerRead},
        StopCase{.name = "DuringTheQueueListingNoStatusIsAsked",
                 .scenario = "one-printer-ready.json",
                 .during = StopDuring::kQueueListing},
        // The two ways to the transfer: after the full check, and straight to the package.
        StopCase{.name = "WhileTheGuardIsTakenAfterTheFullCheck",
                 .scenario = "one-printer-ready.json",
                 .during = StopDuring::kGuardTaking,
                 .jobs = {JobKind::kStatus, JobKind::kVersion},
                 .guardsTaken = 1},
        StopCase{.name = "WhileTheGuardIsTakenForAnOlderPackage",
                 .scenario = "newer-version.json",
                 .during = StopDuring::kGuardTaking,
                 .jobs = {JobKind::kStatus, JobKind::kVersion},
                 .guardsTaken = 1}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup
