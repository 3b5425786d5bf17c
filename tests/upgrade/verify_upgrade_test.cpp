// After its flash a printer on Linux comes back under a new USB device node: the run's lock
// on the old node guards nothing there, so the printer is locked again before it is read, and not
// read at all while that lock cannot be had.
#include "upgrade/verify_upgrade.h"

#include <gtest/gtest.h>

#include "fakes/fake_printer_locks.h"
#include "protocol/result_codes.h"
#include "ui/window_front_end.h"
#include "upgrade/upgrade_procedure.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

// The run's own lock; `guards` says whether it still covers the printer as it is listed now.
class RunLock final : public PrinterLock {
  public:
    explicit RunLock(bool guards) : guards_(guards) {}
    bool Guards(const DeviceEntry&) const override { return guards_; }

  private:
    bool guards_;
};

struct RelockCase {
    const char* name;
    bool runLockGuards;  // false: the printer is back under a node the run's lock is not on
    bool otherRunHolds;  // another run has taken the printer's lock meanwhile
    bool lockable;       // whether a lock can be taken at all
    bool read;           // its version read, and it counts as back
    bool claimed;        // the verification claimed the printer's lock
};

class VerifyRelock : public testing::UpgradeRunTest,
                     public ::testing::WithParamInterface<RelockCase> {};

TEST_P(VerifyRelock, ReadsThePrinterOnlyUnderALockThatGuardsIt) {
    const RelockCase& c = GetParam();
    testing::FakePrinterLocks locks;
    Attach("flash-comes-back-upgraded.json");
    CVevaVoRirizevDlg& window = Open();
    // The run alone, without the window's own wait for the printer.
    {
        // Its lock goes with it: the run's lock is the test's RunLock below.
        WindowFrontEnd frontEnd(&window);
        ASSERT_EQ(RunUpgrade(frontEnd), UpgradeOutcome::kSucceeded);
    }
    ExpectLook(testing::Look::kSucceeded);
    const DeviceEntry flashed = theDeviceList.at(0);
    PrinterLockClaim other;
    if (c.otherRunHolds) {
        other = locks.Take(flashed);
    }
    locks.unavailable = !c.lockable;
    const std::size_t claimsBefore = locks.Taken().size();
    const RunLock runLock(c.runLockGuards);

    const VerifyOutcome outcome = VerifyUpgrade(flashed, &runLock, kVersionHigher, 10, {});

    EXPECT_EQ(outcome.cameBack, c.read) << c.name;
    EXPECT_EQ(outcome.versionRead, c.read) << c.name;
    EXPECT_EQ(locks.Taken().size() > claimsBefore, c.claimed) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, VerifyRelock,
    ::testing::Values(
        RelockCase{"the same node, still under the run's lock", true, false, true, true, false},
        RelockCase{"a new node, locked again", false, false, true, true, true},
        RelockCase{"a new node another run holds", false, true, true, false, true},
        RelockCase{"a new node whose lock cannot be taken", false, false, false, false, true}));

// A stop while the printer is away ends the wait at once, and nothing more is asked of it.
TEST_F(VerifyRelock, AStopEndsTheWaitAndAsksNothingMore) {
    Attach("flash-never-comes-back.json");
    CVevaVoRirizevDlg& window = Open();
    {
        WindowFrontEnd frontEnd(&window);
        ASSERT_EQ(RunUpgrade(frontEnd), UpgradeOutcome::kSucceeded);
    }
    const DeviceEntry flashed = theDeviceList.at(0);
    const std::size_t jobsBefore = Printer()->Jobs().size();
    int waits = 0;
    bool stop = false;
    const VerifyOutcome outcome = VerifyUpgrade(
        flashed, nullptr, kVersionHigher, 600, [&] { return stop; },
        [&](std::int64_t) { stop = ++waits == 3; });
    EXPECT_TRUE(outcome.interrupted);
    EXPECT_FALSE(outcome.versionRead);
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(Printer()->Jobs().size(), jobsBefore);
}

}  // namespace
}  // namespace fwup
