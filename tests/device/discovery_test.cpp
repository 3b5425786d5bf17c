#include "device/discovery.h"

#include <gtest/gtest.h>

#include "fakes/fake_interface_source.h"
#include "fakes/recording_notice_output.h"

namespace fwup {
namespace {

using testing::FakeInterfaceSource;

struct InstanceIdCase {
    const char* name;
    const wchar_t* instanceId;
    const wchar_t* model;  // null: not supported
};

class InstanceIdMatching : public ::testing::TestWithParam<InstanceIdCase> {};

TEST_P(InstanceIdMatching, TakesTheRowWhoseHardIdBeginsTheInstanceId) {
    testing::RecordingNoticeOutput notices;
    DeviceEntry entry;
    const bool matched = MatchHardID(entry, GetParam().instanceId);
    if (GetParam().model == nullptr) {
        EXPECT_FALSE(matched);
        EXPECT_TRUE(entry.ModelName.empty());
        EXPECT_TRUE(notices.lines.empty());
        return;
    }
    EXPECT_TRUE(matched);
    EXPECT_EQ(entry.ModelName, GetParam().model);
    ASSERT_EQ(notices.lines.size(), 1u);
    EXPECT_EQ(notices.lines[0].rfind(L"Tool show NOTICE\uFF1AHardID = ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, InstanceIdMatching,
    ::testing::Values(
        InstanceIdCase{"hkrWithSerial", L"USB\\VID_5A7C&PID_B101\\A1B2C3",
                       L"Viruzu TQ3800HKR Series"},
        InstanceIdCase{"hksWithSerial", L"USB\\VID_5A7C&PID_B102\\0001",
                       L"Viruzu TQ3800HKS Series"},
        InstanceIdCase{"lowerCase", L"usb\\vid_5a7c&pid_b101\\a1b2c3", L"Viruzu TQ3800HKR Series"},
        InstanceIdCase{"compositeFunction", L"USB\\VID_5A7C&PID_B101&MI_00\\7&1A2B&0&0000",
                       L"Viruzu TQ3800HKR Series"},
        InstanceIdCase{"strictPrefix", L"USB\\VID_5A7C&PID_B10", nullptr},
        InstanceIdCase{"otherProduct", L"USB\\VID_5A7C&PID_B103\\1", nullptr},
        InstanceIdCase{"otherVendor", L"USB\\VID_04B8&PID_B101\\1", nullptr},
        InstanceIdCase{"empty", L"", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HardIdNotice, NamesTheMultifunctionType) {
    EXPECT_EQ(HardIdNotice(DeviceTable[0]),
              L"HardID = USB\\VID_5A7C&PID_B101,  MFPType = 3in1\r\n");
    EXPECT_EQ(HardIdNotice({L"USB\\VID_1&PID_2", L"Single", 1}),
              L"HardID = USB\\VID_1&PID_2,  MFPType = sfp\r\n");
    EXPECT_EQ(HardIdNotice({L"USB\\VID_1&PID_2", L"Four", 4}),
              L"HardID = USB\\VID_1&PID_2,  MFPType = 4in1\r\n");
}

class DiscoveryTest : public ::testing::Test {
  protected:
    std::vector<std::wstring> Ports(const DeviceList& list) {
        std::vector<std::wstring> ports;
        for (const DeviceEntry& entry : list) {
            ports.push_back(entry.PortName);
        }
        return ports;
    }

    testing::RecordingNoticeOutput notices;
    FakeInterfaceSource source;
    DeviceList list;
};

TEST_F(DiscoveryTest, ListsSupportedPrintersInPlatformOrderWithTheirPorts) {
    source.AddPrinter(2);
    source.AddPrinter(5, L"USB\\VID_5A7C&PID_B199");  // same vendor, unknown product
    source.AddPrinter(1000, L"USB\\VID_5A7C&PID_B102");
    ASSERT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ModelName, L"Viruzu TQ3800HKR Series");
    EXPECT_EQ(list[1].ModelName, L"Viruzu TQ3800HKS Series");
    EXPECT_EQ(Ports(list), (std::vector<std::wstring>{L"USB002", L"USB1000"}));
    EXPECT_EQ(list[0].ListIndex, 0);
    EXPECT_EQ(notices.lines,
              (std::vector<std::wstring>{
                  L"Tool show NOTICE\uFF1AHardID = USB\\VID_5A7C&PID_B101,  MFPType = 3in1\r\n",
                  L"Tool show NOTICE\uFF1AHardID = USB\\VID_5A7C&PID_B102,  MFPType = 3in1\r\n"}));
}

TEST_F(DiscoveryTest, PrintersWithoutAPortNameAreListedWithAnEmptyOne) {
    source.AddPrinter(std::nullopt);
    source.AddPrinter(3);
    source.interfaces[1].path = L"\\\\?\\dot4#vid_5a7c&pid_b101#1#{x}";
    ASSERT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    EXPECT_EQ(Ports(list), (std::vector<std::wstring>{L"", L""}));
}

TEST_F(DiscoveryTest, OnlyTheFirstTenDevicesAreExamined) {
    for (int i = 0; i < 9; ++i) {
        source.AddPrinter(i + 1, L"USB\\VID_1234&PID_0001");
    }
    source.AddPrinter(10);
    source.AddPrinter(11);
    ASSERT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    EXPECT_EQ(Ports(list), std::vector<std::wstring>{L"USB010"});
}

TEST_F(DiscoveryTest, NothingConnectedIsNotAFailure) {
    EXPECT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    EXPECT_TRUE(list.empty());
    source.setFails = true;
    EXPECT_EQ(GetSystemDeviceList(list), kErrDeviceSet);
}

struct WalkFailure {
    const char* name;
    SetLookup idLookup;
    InterfaceLookup pathLookup;
    int expected;
};

class DiscoveryFailures : public DiscoveryTest,
                          public ::testing::WithParamInterface<WalkFailure> {};

TEST_P(DiscoveryFailures, EndTheWalkAndKeepEarlierEntries) {
    source.AddPrinter(1);
    source.AddPrinter(2);
    source.AddPrinter(3);
    source.interfaces[1].idLookup = GetParam().idLookup;
    source.interfaces[1].pathLookup = GetParam().pathLookup;
    list.push_back(
        DeviceEntry{L"kept from before", L"USB099", 4, L"USB\\VID_5A7C&PID_B101\\KEPT", L""});
    EXPECT_EQ(GetSystemDeviceList(list), GetParam().expected);
    EXPECT_EQ(Ports(list), (std::vector<std::wstring>{L"USB099", L"USB001"}));
}

INSTANTIATE_TEST_SUITE_P(
    PlatformCalls, DiscoveryFailures,
    ::testing::Values(
        WalkFailure{"instanceId", SetLookup::kFailed, InterfaceLookup::kFound, kErrInstanceId},
        WalkFailure{"noInterface", SetLookup::kFound, InterfaceLookup::kNoInterface,
                    kErrNoInterface},
        WalkFailure{"detailSize", SetLookup::kFound, InterfaceLookup::kSizeFailed, kErrDetailSize},
        WalkFailure{"detail", SetLookup::kFound, InterfaceLookup::kDetailFailed,
                    kErrInterfaceDetail}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fwup
