#include "device/usb_open.h"

#include <gtest/gtest.h>

#include "device/port_name.h"
#include "fakes/fake_interface_source.h"

namespace fwup {
namespace {

using testing::FakeInterfaceSource;

TEST(PortName, IsUsbAndAtLeastThreeDigits) {
    EXPECT_EQ(FormatPortName(1), L"USB001");
    EXPECT_EQ(FormatPortName(12), L"USB012");
    EXPECT_EQ(FormatPortName(100), L"USB100");
    EXPECT_EQ(FormatPortName(1234), L"USB1234");
    EXPECT_EQ(ConvertedInterfacePath(L"\\\\?\\usb#vid_5a7c"), L"##?#usb#vid_5a7c");
}

class OpenUsbDeviceTest : public ::testing::Test {
  protected:
    FakeInterfaceSource source;
};

TEST_F(OpenUsbDeviceTest, OpensTheInterfaceWhosePortNameEqualsTheWantedOne) {
    source.AddPrinter(1);
    source.AddPrinter(100);
    source.AddPrinter(1000);
    for (const auto& [wanted, index] : {std::pair{L"USB001", 0}, {L"USB100", 1}, {L"USB1000", 2}}) {
        source.openedPaths.clear();
        EXPECT_NE(OpenUSBDevice(wanted), nullptr) << wanted;
        EXPECT_EQ(source.openedPaths, std::vector<std::wstring>{source.interfaces[index].path});
    }
}

TEST_F(OpenUsbDeviceTest, NamesThatOnlyShareAPrefixOpenNothing) {
    source.AddPrinter(1);
    source.AddPrinter(100);
    for (const wchar_t* wanted : {L"USB0019", L"USB00", L"usb001", L"USB", L"", L"USB10"}) {
        EXPECT_EQ(OpenUSBDevice(wanted), nullptr) << wanted;
    }
    EXPECT_TRUE(source.openedPaths.empty());
}

TEST_F(OpenUsbDeviceTest, InterfacesWithoutAPortNameArePassedOver) {
    source.AddPrinter(std::nullopt);
    source.AddPrinter(8);
    source.interfaces[1].path = L"\\\\?\\dot4#vid_5a7c&pid_b101#1#{x}";
    source.AddPrinter(2);
    EXPECT_NE(OpenUSBDevice(L"USB002"), nullptr);
    EXPECT_EQ(OpenUSBDevice(L"USB008"), nullptr);
}

TEST_F(OpenUsbDeviceTest, OnlySupportedPrintersAreOpened) {
    source.AddPrinter(1, L"USB\\VID_04B8&PID_0005");
    source.AddPrinter(1, L"USB\\VID_5A7C&PID_B102");
    EXPECT_NE(OpenUSBDevice(L"USB001"), nullptr);
    EXPECT_EQ(source.openedPaths, std::vector<std::wstring>{source.interfaces[1].path});
}

TEST_F(OpenUsbDeviceTest, OpensOnlyWhatDiscoveryCanSee) {
    for (int i = 0; i < 10; ++i) {
        source.AddPrinter(i + 1);
    }
    source.AddPrinter(11);
    EXPECT_NE(OpenUSBDevice(L"USB010"), nullptr);
    EXPECT_EQ(OpenUSBDevice(L"USB011"), nullptr);
}

TEST_F(OpenUsbDeviceTest, OverLongPathsAreNeverLookedUpOrOpened) {
    source.AddPrinter(3);
    source.interfaces[0].path = L"\\\\?\\usb#" + std::wstring(300, L'a');
    EXPECT_EQ(GetUSBPortName(source.interfaces[0].path), std::nullopt);
    EXPECT_EQ(OpenUSBDevice(L"USB003"), nullptr);
    EXPECT_TRUE(source.openedPaths.empty());
}

TEST_F(OpenUsbDeviceTest, PlatformRefusalsComeBackAsNull) {
    source.AddPrinter(1);
    source.interfaces[0].openFails = true;
    EXPECT_EQ(OpenUSBDevice(L"USB001"), nullptr);
    source.setFails = true;
    EXPECT_EQ(OpenUSBDevice(L"USB001"), nullptr);
}

}  // namespace
}  // namespace fwup
