#include "device/libusb/usb_arrival_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "device/device_table.h"
#include "device/interface_source.h"

namespace fwup::libusb {
namespace {

TEST(UsbArrivalWatch, TheTableVendorsAreEveryRowsEachOnce) {
    const std::vector<std::uint16_t> vendors = DeviceTableVendorIds();
    ASSERT_FALSE(vendors.empty());
    for (const DeviceTableRow& row : DeviceTable) {
        const std::wstring vid(row.HardID.substr(8, 4));
        EXPECT_EQ(std::count(vendors.begin(), vendors.end(), std::stoul(vid, nullptr, 16)), 1)
            << std::string(vid.begin(), vid.end());
    }
}

// No device needed: what can go wrong without one is a watch that counts what was there before
// it, or one whose end waits on an event that never comes. Made and ended in quick turns; the
// bound on each end is loose for a loaded machine, and a hang would blow it.
TEST(UsbArrivalWatch, StartsAtNoughtAndEndsPromptlyMadeOverAndOver) {
    const std::unique_ptr<InterfaceSource> source = MakeHostInterfaceSource();
    if (!source || !source->WatchArrivals()) {
        GTEST_SKIP() << "libusb cannot watch hot-plug events here";
    }
    const std::uint16_t anyVendor[] = {0x5A7C, 0x1D6B};
    for (int turn = 0; turn < 20; ++turn) {
        std::unique_ptr<ArrivalWatch> watch =
            turn % 2 == 0 ? source->WatchArrivals() : MakeUsbArrivalWatch(anyVendor);
        ASSERT_TRUE(watch);
        EXPECT_EQ(watch->Changes(), 0u);
        const auto ending = std::chrono::steady_clock::now();
        watch.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - ending, std::chrono::seconds(2))
            << "turn " << turn;
    }
}

}  // namespace
}  // namespace fwup::libusb
