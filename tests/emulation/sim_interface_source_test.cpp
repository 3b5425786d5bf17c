#include "emulation/sim_interface_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/common/program_services.h"
#include "device/usb_open.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_jobs.h"
#include "fakes/instant_clock.h"

namespace fwup {
namespace {

using testing::InstantClock;

Scenario FromFile(const std::string& file) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(LoadScenarioFile(std::string(FWUP_SCENARIO_DIR "/") + file, scenario, error))
        << error;
    return scenario;
}

// Installs a scenario's source as the active one for the test's lifetime.
class InstalledScenario {
  public:
    explicit InstalledScenario(Scenario scenario) : source_(std::move(scenario)) {}
    SimInterfaceSource& source() { return source_; }

  private:
    SimInterfaceSource source_;
    const InstalledServices installed_{{.interfaces = &source_}};
};

TEST(SimInterfaceSource, OpenUSBDeviceReachesThePrinterOnThatPort) {
    InstantClock clock;
    InstalledScenario installed(FromFile("two-printers.json"));
    UsbChannel channel = OpenUSBDevice(L"USB002");
    ASSERT_TRUE(channel);
    const auto job = testing::StatusJob();
    EXPECT_EQ(WriteUSBDevice(channel.get(), job.data(), job.size()), 59);
    CloseUSBDevice(channel);
    EXPECT_EQ(installed.source().printer(0)->Jobs().size(), 0u);
    EXPECT_EQ(installed.source().printer(1)->Jobs().size(), 1u);
    EXPECT_FALSE(installed.source().printer(1)->channelOpen());
    EXPECT_FALSE(OpenUSBDevice(L"USB003"));
    EXPECT_EQ(installed.source().printer(2), nullptr);
}

TEST(SimInterfaceSource, APrinterWithoutPortNumberCannotBeOpened) {
    InstalledScenario installed(FromFile("no-port-number.json"));
    EXPECT_FALSE(
        installed.source().PortNumber(installed.source().printer(0)->scenario().interfacePath));
    for (const wchar_t* name : {L"USB000", L"USB001", L"USB"}) {
        EXPECT_FALSE(OpenUSBDevice(name)) << name;
    }
    EXPECT_TRUE(OpenUSBDevice(L"USB002"));
    for (const SimEvent& event : installed.source().printer(0)->Events()) {
        EXPECT_NE(event.kind, SimEventKind::kOpen);
    }
}

TEST(SimInterfaceSource, OneChannelAtATimeAndTheOpenLimitHolds) {
    Scenario scenario = FromFile("one-printer-ready.json");
    scenario.printers[0].openLimit = 2;
    InstalledScenario installed(std::move(scenario));
    UsbChannel first = OpenUSBDevice(L"USB001");
    ASSERT_TRUE(first);
    EXPECT_FALSE(OpenUSBDevice(L"USB001"));  // the interface is held
    first.reset();                           // destroying a channel closes it
    UsbChannel second = OpenUSBDevice(L"USB001");
    ASSERT_TRUE(second);
    second->Close();
    std::uint8_t byte = 0;
    EXPECT_EQ(second->Write(std::span(&byte, 1)), -1);
    EXPECT_EQ(second->Read(std::span(&byte, 1)), -1);
    EXPECT_FALSE(OpenUSBDevice(L"USB001"));  // a third open is over the limit
}

TEST(SimInterfaceSource, AnUnpluggedPrinterLeavesLaterSets) {
    InstantClock clock;
    InstalledScenario installed(FromFile("unplug-mid-transfer.json"));
    UsbChannel channel = OpenUSBDevice(L"USB001");
    ASSERT_TRUE(channel);
    const auto package = testing::FirmwareJob(2'000'000);
    std::size_t sent = 0;
    long last = 0;
    while (sent < package.size()) {
        last = WriteUSBDevice(channel.get(), package.data() + sent, package.size() - sent);
        if (last <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(last);
    }
    EXPECT_EQ(last, -1);
    EXPECT_EQ(installed.source().printer(0)->BytesReceived(), 1'000'000u);
    CloseUSBDevice(channel);
    std::wstring instanceId;
    EXPECT_EQ(installed.source().OpenSet()->DeviceInstanceId(0, instanceId), SetLookup::kEnd);
    EXPECT_FALSE(OpenUSBDevice(L"USB001"));
    const std::vector<SimEvent> events = installed.source().printer(0)->Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const SimEvent& e) { return e.kind == SimEventKind::kWrite; }),
              4);  // three whole blocks, then the one cut short
}

std::vector<std::wstring> Listed(SimInterfaceSource& source) {
    std::vector<std::wstring> ids;
    const std::unique_ptr<DeviceInterfaceSet> set = source.OpenSet();
    std::wstring id;
    for (std::uint32_t i = 0; set && set->DeviceInstanceId(i, id) == SetLookup::kFound; ++i) {
        ids.push_back(id);
    }
    return ids;
}

// Each step lists first, so the listing acts on a trigger come due by itself; the watch, asked
// after it, still counts the change.
TEST(SimInterfaceSource, TimedTriggersActWhenTheSourceListsAndTheWatchCountsThem) {
    InstantClock clock;
    InstalledScenario installed(FromFile("printer-comes-and-goes-idle.json"));
    const std::unique_ptr<ArrivalWatch> watch = installed.source().WatchArrivals();
    ASSERT_TRUE(watch);
    const std::wstring first = L"USB\\VID_5A7C&PID_B101\\SER0001";
    const std::wstring second = L"USB\\VID_5A7C&PID_B102\\SER0002";
    struct Step {
        std::int64_t atMs;
        std::vector<std::wstring> listed;
        std::uint64_t changes;
    };
    const Step steps[] = {
        {0, {first}, 0},
        {2999, {first}, 0},
        {3000, {first, second}, 1},
        {7999, {first, second}, 1},
        {8000, {second}, 2},
        {3'600'000, {second}, 2},
    };
    const std::int64_t startMs = clock.nowMs();
    for (const Step& step : steps) {
        clock.Advance(startMs + step.atMs - clock.nowMs());
        EXPECT_EQ(Listed(installed.source()), step.listed) << step.atMs;
        EXPECT_EQ(watch->Changes(), step.changes) << step.atMs;
    }
}

TEST(SimInterfaceSource, TimedTriggersActWhenTheSourceOpensUnlisted) {
    InstantClock clock;
    InstalledScenario installed(FromFile("printer-comes-and-goes-idle.json"));
    const std::wstring& leaving = installed.source().printer(0)->scenario().interfacePath;
    const std::wstring& coming = installed.source().printer(1)->scenario().interfacePath;
    EXPECT_FALSE(installed.source().OpenInterface(coming));
    clock.Advance(3000);
    EXPECT_TRUE(installed.source().OpenInterface(coming));
    clock.Advance(5000);
    EXPECT_FALSE(installed.source().OpenInterface(leaving));
}

// Not only the triggers: a printer pulled by its own write stream moves the count too, and a
// watch made after a change starts from nought.
TEST(SimInterfaceSource, TheWatchSeesAPrinterPulledByAWrite) {
    InstantClock clock;
    Scenario scenario = FromFile("two-printers-idle.json");
    scenario.printers[1].faults.unplugAtByte = 10;
    InstalledScenario installed(std::move(scenario));
    const std::unique_ptr<ArrivalWatch> watch = installed.source().WatchArrivals();
    EXPECT_EQ(watch->Changes(), 0u);
    UsbChannel channel = OpenUSBDevice(L"USB002");
    ASSERT_TRUE(channel);
    const auto job = testing::StatusJob();
    EXPECT_EQ(WriteUSBDevice(channel.get(), job.data(), job.size()), -1);
    EXPECT_EQ(watch->Changes(), 1u);
    EXPECT_EQ(watch->Changes(), 1u);
    EXPECT_EQ(installed.source().WatchArrivals()->Changes(), 0u);
}

}  // namespace
}  // namespace fwup
