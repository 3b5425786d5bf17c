#include "device/win32/usbprint_arrival_watch.h"

#include <windows.h>

#include <dbt.h>
#include <gtest/gtest.h>

#include "device/interface_source.h"
#include "device/win32/usbprint_class.h"

namespace fwup {
namespace {

// What the system sends the watch's window: a device interface arrived or went, or something it
// does not count.
struct Notice {
    WPARAM event;
    DWORD deviceType;
    std::uint64_t changesAfter;
};

TEST(UsbPrintArrivalWatch, CountsInterfaceArrivalsAndRemovalsOnly) {
    const std::unique_ptr<win32::UsbPrintArrivalWatch> watch = win32::MakeUsbPrintArrivalWatch();
    ASSERT_TRUE(watch);
    ASSERT_NE(watch->window(), nullptr);
    EXPECT_EQ(watch->Changes(), 0u);
    const Notice notices[] = {
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEREMOVEPENDING, DBT_DEVTYP_DEVICEINTERFACE, 1},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, 2},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 2},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 3},
    };
    for (const Notice& notice : notices) {
        DEV_BROADCAST_DEVICEINTERFACE_W data{};
        data.dbcc_size = sizeof(data);
        data.dbcc_devicetype = notice.deviceType;
        data.dbcc_classguid = win32::kUsbPrintInterfaceClass;
        SendMessageW(watch->window(), WM_DEVICECHANGE, notice.event,
                     reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(watch->Changes(), notice.changesAfter) << notice.event;
    }
    // A notice without its data (as DBT_DEVNODES_CHANGED comes) is not read.
    SendMessageW(watch->window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(watch->Changes(), 3u);
}

// Each watch is a thread and a window: made and ended in quick turns, none is left behind and no
// end waits on a message that never comes.
TEST(UsbPrintArrivalWatch, MadeAndEndedOverAndOverThroughTheHostSource) {
    const std::unique_ptr<InterfaceSource> source = MakeHostInterfaceSource();
    ASSERT_TRUE(source);
    for (int turn = 0; turn < 20; ++turn) {
        std::unique_ptr<ArrivalWatch> watch = source->WatchArrivals();
        ASSERT_TRUE(watch) << "turn " << turn;
        EXPECT_EQ(watch->Changes(), 0u);
    }
}

}  // namespace
}  // namespace fwup
