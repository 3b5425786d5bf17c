#include <gtest/gtest.h>

#include "device/discovery.h"
#include "device/interface_source.h"
#include "device/libusb/printer_port_lookup.h"

namespace fwup {
namespace {

// Whatever this machine has, libusb included or not, the walk ends cleanly. No interface is
// claimed: a printer attached to the machine running the tests is left to its driver.
TEST(HostInterfaceSource, WalksThisMachinesUsbWithoutClaimingAnything) {
    std::unique_ptr<InterfaceSource> source = MakeHostInterfaceSource();
    if (!source) {
        GTEST_SKIP() << "libusb cannot start here";
    }
    std::unique_ptr<DeviceInterfaceSet> set = source->OpenSet();
    ASSERT_NE(set, nullptr);
    for (std::uint32_t index = 0; index < kMaxDevicesWalked; ++index) {
        std::wstring id;
        std::wstring path;
        if (set->DeviceInstanceId(index, id) != SetLookup::kFound) {
            break;
        }
        EXPECT_EQ(id.rfind(L"USB\\VID_", 0), 0u) << id;
        ASSERT_EQ(set->DeviceInterfacePath(index, path), InterfaceLookup::kFound);
        EXPECT_NE(source->PortNumber(path), std::nullopt) << path;
    }
    EXPECT_EQ(source->PortNumber(L"usb:1-1:if0:dev1:0000:0000"), std::nullopt);
    EXPECT_EQ(libusb::HostPrinterPortName({0, 0, "no such printer", std::nullopt}), std::nullopt);
}

}  // namespace
}  // namespace fwup
