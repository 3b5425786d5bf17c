#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "device/discovery.h"
#include "device/usb_open.h"
#include "device/win32/host_source_guard.h"

namespace fwup {
namespace {

// Wine has no USB printers: these run the whole SetupAPI walk over whatever it reports.
class SetupApiWalkTest : public ::testing::Test {
  protected:
    testing::HostSourceGuard host_;
};

TEST_F(SetupApiWalkTest, EveryDeviceOfTheSetGivesAClearAnswer) {
    std::unique_ptr<DeviceInterfaceSet> set = host_.source().OpenSet();
    if (!set) {
        return;  // no set is a clean answer too
    }
    std::uint32_t index = 0;
    for (; index < 1000; ++index) {
        std::wstring instanceId;
        const SetLookup device = set->DeviceInstanceId(index, instanceId);
        if (device != SetLookup::kFound) {
            EXPECT_EQ(device, SetLookup::kEnd);
            break;
        }
        EXPECT_FALSE(instanceId.empty());
        std::wstring path;
        const InterfaceLookup found = set->DeviceInterfacePath(index, path);
        EXPECT_EQ(found == InterfaceLookup::kFound, !path.empty());
    }
    EXPECT_LT(index, 1000u);
    std::wstring untouched = L"untouched";
    EXPECT_EQ(set->DeviceInstanceId(index + 100000, untouched), SetLookup::kEnd);
    EXPECT_EQ(set->DeviceInterfacePath(index + 100000, untouched), InterfaceLookup::kNoInterface);
    EXPECT_EQ(untouched, L"untouched");
}

TEST_F(SetupApiWalkTest, DiscoveryAndOpenEndCleanly) {
    // Other test processes may have test printers registered meanwhile, so the list is not
    // necessarily empty; none of theirs is on USB001.
    DeviceList list;
    EXPECT_EQ(GetSystemDeviceList(list), kDiscoveryOk);
    EXPECT_EQ(OpenUSBDevice(L"USB001"), nullptr);
}

}  // namespace
}  // namespace fwup
