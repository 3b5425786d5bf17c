// One run per printer: the lock's key, the host's lock taken twice in one process (the second
// claim must see the first, as another process would), and whole window runs that find the
// printer's lock held.

#include "upgrade/printer_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fakes/fake_printer_locks.h"
#include "fakes/temp_log_dir.h"
#include "text/lang_text.h"
#include "ui/dialog_templates.h"
#include "ui/message_dialog.h"
#include "ui/window_front_end.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::FakePrinterLocks;
using testing::Look;
using testing::TempLogDir;
using testing::UpgradeRunTest;

const std::wstring kChosenId = L"USB\\VID_5A7C&PID_B101\\SER0001";

TEST(PrinterLockKey, KeepsInstanceIdsApartAndFitsAName) {
    EXPECT_EQ(PrinterLockKey(kChosenId), L"USB%5CVID_5A7C%26PID_B101%5CSER0001");
    // Windows compares instance IDs without case; a lock must not tell them apart either.
    EXPECT_EQ(PrinterLockKey(L"usb\\vid_5a7c&pid_b101\\ser0001"), PrinterLockKey(kChosenId));
    EXPECT_NE(PrinterLockKey(L"USB\\A_B"), PrinterLockKey(L"USB\\A\\B"));
    EXPECT_EQ(PrinterLockKey(L"USB\\S\u00E9/.."), L"USB%5CS%C3%A9%2F..");
    const std::wstring longA = L"USB\\VID_5A7C&PID_B101\\" + std::wstring(300, L'A');
    const std::wstring longB = longA.substr(0, longA.size() - 1) + L"B";
    EXPECT_LE(PrinterLockKey(longA).size(), 160u);
    EXPECT_NE(PrinterLockKey(longA), PrinterLockKey(longB));
}

TEST(HostPrinterLock, ASecondClaimWhileTheFirstLivesIsRefusedAndFreedWithIt) {
    TempLogDir place;
    const std::optional<std::filesystem::path> folder = place.dir() / "locks";
    PrinterLockClaim first = TakeHostPrinterLock(L"A", folder);
    ASSERT_EQ(first.claim, LockClaim::kTaken);
    ASSERT_NE(first.lock, nullptr);
    EXPECT_EQ(TakeHostPrinterLock(L"A", folder).claim, LockClaim::kHeldElsewhere);
    EXPECT_EQ(TakeHostPrinterLock(L"B", folder).claim, LockClaim::kTaken);
    // Another place is another set of locks (parallel test runs).
    EXPECT_EQ(TakeHostPrinterLock(L"A", place.dir() / "other").claim, LockClaim::kTaken);
    first.lock.reset();
    EXPECT_EQ(TakeHostPrinterLock(L"A", folder).claim, LockClaim::kTaken);
}

class HeldPrinter : public UpgradeRunTest {};

TEST_F(HeldPrinter, TheWindowSaysSoSendsNothingAndGoesBackToReady) {
    FakePrinterLocks locks;
    PrinterLockClaim other = locks.Take(kChosenId);
    Attach("one-printer-ready.json");
    Answer(kIdOk);
    CVevaVoRirizevDlg& window = Open();

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    ASSERT_EQ(factory_.finished.size(), 1u);
    EXPECT_EQ(factory_.finished[0].controls.at(kIdMessageText).text,
              GetLangText(TXT_PRINTER_IN_USE));
    ExpectLook(Look::kReady);
    EXPECT_EQ(Printer()->BytesReceived(), 0u);
    EXPECT_EQ(log_.Messages(),
              std::vector<std::string>{"Another upgrade run holds the printer "
                                       "USB\\VID_5A7C&PID_B101\\SER0001; nothing was sent to it"});
}

TEST_F(HeldPrinter, TheRunHoldsTheLockToItsEndAndReleasesIt) {
    FakePrinterLocks locks;
    Attach("one-printer-ready.json");
    bool heldDuringTransfer = false;
    testing::GuardProbe probe;
    probe.bytesReceived = [&] {
        heldDuringTransfer = heldDuringTransfer || locks.IsHeld(kChosenId);
        return Printer()->BytesReceived();
    };
    CVevaVoRirizevDlg& window = Open();

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    ExpectLook(Look::kSucceeded);
    EXPECT_TRUE(heldDuringTransfer);
    EXPECT_FALSE(locks.IsHeld(kChosenId));
}

// A lock that cannot be taken (a folder or file planted at its name, a node this user may not
// open) is no reason to go on without one: a second run would meet none either.
TEST_F(HeldPrinter, ALockThatCannotBeTakenIsARefusal) {
    FakePrinterLocks locks;
    locks.unavailable = true;
    Attach("one-printer-ready.json");
    Answer(kIdOk);
    CVevaVoRirizevDlg& window = Open();

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    ASSERT_EQ(factory_.finished.size(), 1u);
    EXPECT_EQ(factory_.finished[0].controls.at(kIdMessageText).text,
              GetLangText(TXT_PRINTER_IN_USE));
    ExpectLook(Look::kReady);
    EXPECT_EQ(Printer()->BytesReceived(), 0u);
    EXPECT_EQ(log_.Messages(),
              std::vector<std::string>{"The lock of the printer USB\\VID_5A7C&PID_B101\\SER0001 "
                                       "could not be taken (no place); nothing was sent to it"});
}

}  // namespace
}  // namespace fwup
