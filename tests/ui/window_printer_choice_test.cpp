// The window's idle list and the printer a run works on: with several printers attached it
// chooses none, the user's choice reaches the run by its whole identity, and a printer chosen and
// gone sends nothing anywhere. Then the window stays with the flashed printer until it says what
// became of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/instant_clock.h"
#include "ui/window_front_end.h"
#include "upgrade/run_history.h"
#include "upgrade/upgrade_run_fixture.h"

namespace fwup {
namespace {

using testing::Look;

constexpr const char* kTwoPrinters = R"({"printers": [
    {"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1, "version": "V2.10.8"},
    {"instanceId": "USB\\VID_5A7C&PID_B102\\SER0002", "portNumber": 2, "version": "V2.10.8"}]})";

// A hand-turned arrival watch.
class TurnedWatch final : public ArrivalWatch {
  public:
    explicit TurnedWatch(std::uint64_t* changes) : changes_(changes) {}
    std::uint64_t Changes() override { return *changes_; }

  private:
    std::uint64_t* changes_;
};

class WindowPrinterChoice : public testing::UpgradeRunTest {
  protected:
    std::size_t FirmwareJobs(std::size_t printer) {
        std::size_t jobs = 0;
        for (const ReceivedJob& job : source_->printer(printer)->Jobs()) {
            jobs += job.kind == JobKind::kFirmware ? 1 : 0;
        }
        return jobs;
    }
    std::vector<RunRecord> History() { return ReadRunHistory(RunHistoryPath()).records; }

    std::uint64_t changes_ = 0;
};

TEST_F(WindowPrinterChoice, OnePrinterIsThePrinterOfTheRunAndNamedInTheList) {
    Attach("one-printer-ready.json");
    CVevaVoRirizevDlg& window = Open();

    EXPECT_EQ(C(kIdPrinters).items,
              std::vector<std::wstring>{L"Viruzu TQ3800HKR Series, USB001, serial SER0001"});
    EXPECT_EQ(C(kIdPrinters).curSel, 0);
    EXPECT_TRUE(C(kIdPrinters).visible);
    EXPECT_FALSE(C(kIdPrinters).enabled) << "nothing to choose";
    EXPECT_EQ(C(kIdPrinterLine).text, GetLangText(TXT_PRINTER_CHOSEN));
    EXPECT_TRUE(C(kIdStart).enabled);

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);
    ExpectLook(Look::kSucceeded);
    EXPECT_EQ(FirmwareJobs(0), 1u);
    EXPECT_EQ(C(kIdRunPrinter).text,
              L"Printer: Viruzu TQ3800HKR Series, serial SER0001\r\n"
              L"Firmware: V2.10.8 \u2192 V2.10.9");
    EXPECT_TRUE(C(kIdRunPrinter).visible) << "the final look names the printer";
}

TEST_F(WindowPrinterChoice, OfSeveralNoneIsTakenUntilTheUserChooses) {
    AttachJson(kTwoPrinters);
    int starts = 0;
    CVevaVoRirizevDlg& window = Open({.onStart = [&](CVevaVoRirizevDlg&) { ++starts; }});

    EXPECT_EQ(C(kIdPrinters).items.size(), 2u);
    EXPECT_EQ(C(kIdPrinters).curSel, -1);
    EXPECT_TRUE(C(kIdPrinters).enabled);
    EXPECT_FALSE(C(kIdStart).enabled);
    EXPECT_EQ(C(kIdPrinterLine).text, GetLangText(TXT_PRINTERS_CHOOSE));
    EXPECT_EQ(surface_.focusId, kIdPrinters) << "the keyboard waits on the list";
    surface_.FireCommand(kIdStart);
    EXPECT_EQ(starts, 0) << "nor does a command from the keyboard start a run";

    // A run without a choice (the window had none to give) takes no printer.
    UpgradeThreadProc(&window, AfterTransfer::kEndRun);
    EXPECT_EQ(FirmwareJobs(0) + FirmwareJobs(1), 0u);
    ASSERT_EQ(factory_.finished.size(), 1u);
    EXPECT_EQ(factory_.finished[0].controls.at(kIdMessageText).text,
              GetLangText(TXT_NOT_CONNECTED));
}

TEST_F(WindowPrinterChoice, TheChosenSecondPrinterAndOnlyItReceivesTheFirmware) {
    AttachJson(kTwoPrinters);
    CVevaVoRirizevDlg& window = Open();
    ChoosePrinter(L"SER0002");
    EXPECT_TRUE(C(kIdStart).enabled);

    UpgradeThreadProc(&window, AfterTransfer::kEndRun);

    ExpectLook(Look::kSucceeded);
    EXPECT_EQ(FirmwareJobs(0), 0u);
    EXPECT_EQ(FirmwareJobs(1), 1u);
    const std::vector<RunRecord> history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].instanceId, "USB\\VID_5A7C&PID_B102\\SER0002");
}

TEST_F(WindowPrinterChoice, AChosenPrinterGoneByStartEndsNotConnectedAndSendsNothing) {
    AttachJson(kTwoPrinters);
    CVevaVoRirizevDlg& window = Open();
    ChoosePrinter(L"SER0002");
    const std::optional<DeviceEntry> pin = window.ChosenPrinter();
    ASSERT_TRUE(pin.has_value());
    source_->printer(1)->Unplug();

    UpgradeThreadProc(&window, pin, AfterTransfer::kEndRun);

    EXPECT_EQ(FirmwareJobs(0) + FirmwareJobs(1), 0u);
    EXPECT_TRUE(source_->printer(0)->Jobs().empty()) << "not even asked";
    ASSERT_EQ(factory_.finished.size(), 1u);
    EXPECT_EQ(factory_.finished[0].controls.at(kIdMessageText).text,
              GetLangText(TXT_NOT_CONNECTED));
    ExpectLook(Look::kReady);
}

// Plugged in and pulled at idle: the list follows at the watch's word, keeps the user's choice
// by identity, and never chooses for the user when a second printer arrives.
TEST_F(WindowPrinterChoice, TheListFollowsArrivalsAndKeepsTheChoiceByIdentity) {
    const DeviceEntry first{.ModelName = L"Viruzu TQ3800HKR Series",
                            .PortName = L"USB001",
                            .InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0001",
                            .InterfacePath = L"path-1"};
    DeviceEntry second = first;
    second.PortName = L"USB002";
    second.InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0002";
    second.InterfacePath = L"path-2";
    DeviceList attached{second};
    int listings = 0;
    surface_.timersSupported = true;
    Open({.listPrinters =
              [&] {
                  ++listings;
                  return attached;
              },
          .watchArrivals = [this] { return std::make_unique<TurnedWatch>(&changes_); }});
    ASSERT_EQ(C(kIdPrinters).items.size(), 1u);
    EXPECT_TRUE(C(kIdStart).enabled);

    attached = {first, second};
    surface_.FireTimer(2);
    EXPECT_EQ(listings, 1) << "listed again only when the watch moved";
    ++changes_;
    surface_.FireTimer(2);
    ASSERT_EQ(C(kIdPrinters).items.size(), 2u);
    EXPECT_EQ(C(kIdPrinters).curSel, -1) << "the printer there first is no choice";
    EXPECT_FALSE(C(kIdStart).enabled);
    EXPECT_EQ(C(kIdPrinters).accessibleDescription, GetLangText(TXT_PRINTERS_ATTACHED) + L" 2");

    surface_.UserSelects(kIdPrinters, 1);
    EXPECT_TRUE(C(kIdStart).enabled);
    // The first printer is pulled and plugged in again: the choice moves with its printer.
    attached = {second};
    ++changes_;
    surface_.FireTimer(2);
    attached = {first, second};
    ++changes_;
    surface_.FireTimer(2);
    EXPECT_EQ(C(kIdPrinters).curSel, 1);
    EXPECT_TRUE(C(kIdStart).enabled);
    ASSERT_TRUE(window_->ChosenPrinter().has_value());
    EXPECT_EQ(window_->ChosenPrinter()->InterfacePath, L"path-2");

    // The same serial under another path is another printer: the choice does not follow it.
    second.InterfacePath = L"path-3";
    attached = {first, second};
    ++changes_;
    surface_.FireTimer(2);
    EXPECT_EQ(C(kIdPrinters).curSel, -1);
    EXPECT_FALSE(C(kIdStart).enabled);

    attached.clear();
    ++changes_;
    surface_.FireTimer(2);
    EXPECT_FALSE(C(kIdPrinters).visible);
    EXPECT_EQ(C(kIdPrinterLine).text, GetLangText(TXT_PRINTERS_NONE));
    EXPECT_TRUE(C(kIdStart).enabled) << "a run then says what is missing";

    // Once a run has shown a status the idle look is gone, and so is the listing.
    window_->ShowUpgradeStatus(STATUS_NOT_READY, 0);
    const int before = listings;
    ++changes_;
    surface_.FireTimer(2);
    EXPECT_EQ(listings, before);
}

TEST_F(WindowPrinterChoice, WithoutAWatchTheListIsMadeAgainEveryFewSeconds) {
    int listings = 0;
    surface_.timersSupported = true;
    Open({.listPrinters =
              [&] {
                  ++listings;
                  return DeviceList{};
              },
          .watchArrivals = [] { return std::unique_ptr<ArrivalWatch>(); }});
    surface_.FireTimer(2);
    EXPECT_EQ(listings, 1) << "not yet";
    clock_.SleepMs(kRelistWithoutWatchMs);
    surface_.FireTimer(2);
    EXPECT_EQ(listings, 2);
}

struct FollowCase {
    const char* name;
    const char* scenario;
    int followText;  // 0: the failure look instead
    std::optional<std::string> versionAfter;
    std::string result;
};

std::ostream& operator<<(std::ostream& out, const FollowCase& c) {
    return out << c.name;
}

class WindowFollow : public testing::UpgradeRunTest,
                     public ::testing::WithParamInterface<FollowCase> {};

TEST_P(WindowFollow, SaysWhatBecameOfThePrinterAndRecordsIt) {
    const FollowCase& c = GetParam();
    Attach(c.scenario);
    CVevaVoRirizevDlg& window = Open();

    UpgradeThreadProc(&window);

    if (c.followText != 0) {
        ExpectLook(Look::kSucceeded);
        EXPECT_TRUE(C(kIdFollow).visible);
        EXPECT_EQ(C(kIdFollow).text.rfind(GetLangText(c.followText), 0), 0u) << C(kIdFollow).text;
    } else {
        EXPECT_EQ(C(kIdResult).text, GetLangText(TXT_FAILED));
        EXPECT_EQ(C(kIdMessage).text, GetLangText(TXT_FOLLOW_NOT_TAKEN) + L" V2.10.8");
        EXPECT_FALSE(C(kIdFollow).visible);
    }
    EXPECT_TRUE(C(kIdExit).enabled);
    std::size_t firmwareJobs = 0;
    for (const ReceivedJob& job : source_->printer(0)->Jobs()) {
        firmwareJobs += job.kind == JobKind::kFirmware ? 1 : 0;
    }
    EXPECT_EQ(firmwareJobs, 1u) << "following sends nothing";
    const std::vector<RunRecord> history = ReadRunHistory(RunHistoryPath()).records;
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].versionAfter, c.versionAfter);
    EXPECT_EQ(history[0].result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowFollow,
    ::testing::Values(FollowCase{"BackOnThePackage", "flash-comes-back-upgraded.json",
                                 TXT_FOLLOW_CURRENT, "same", "succeeded"},
                      FollowCase{"BackAtOnceOnThePackage", "flash-comes-back-at-once.json",
                                 TXT_FOLLOW_CURRENT, "same", "succeeded"},
                      FollowCase{"BackOnTheOldVersion", "flash-comes-back-unchanged.json", 0,
                                 "older", "verify-failed"},
                      FollowCase{"NeverBack", "flash-never-comes-back.json", TXT_FOLLOW_NOT_BACK,
                                 std::nullopt, "verify-failed"}),
    [](const auto& info) { return std::string(info.param.name); });

// Complete works while the window waits for the printer, and ends the wait (VerifyUpgrade gives
// up at its stop check, see verify_upgrade_test).
TEST_F(WindowPrinterChoice, CompleteEndsTheWindowAndTheWaitWithIt) {
    Attach("one-printer-ready.json");
    CVevaVoRirizevDlg& window = Open();
    UpgradeThreadProc(&window, AfterTransfer::kEndRun);
    ExpectLook(Look::kSucceeded);
    EXPECT_FALSE(window.Ended());
    surface_.FireCommand(kIdExit);
    EXPECT_TRUE(surface_.ended);
    EXPECT_TRUE(window.Ended());
}

}  // namespace
}  // namespace fwup
