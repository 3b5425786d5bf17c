#include "device/interface_source.h"
#include "device/win32/registry_port_number.h"
#include "device/win32/setupapi_interface_set.h"
#include "device/win32/usbprint_arrival_watch.h"
#include "device/win32/usbprint_channel.h"

namespace fwup {
namespace {

// SetupAPI for the present interfaces, the registry for their port numbers, the usbprint driver
// for the channel, device notifications for the arrivals.
class HostInterfaceSource final : public InterfaceSource {
  public:
    std::unique_ptr<DeviceInterfaceSet> OpenSet() override {
        return win32::OpenUsbPrintInterfaceSet();
    }
    std::optional<std::uint32_t> PortNumber(const std::wstring& path) override {
        return win32::ReadPortNumber(path);
    }
    UsbChannel OpenInterface(const std::wstring& path) override {
        return win32::OpenUsbPrintInterface(path);
    }
    std::unique_ptr<ArrivalWatch> WatchArrivals() override {
        return win32::MakeUsbPrintArrivalWatch();
    }
};

}  // namespace

std::unique_ptr<InterfaceSource> MakeHostInterfaceSource() {
    return std::make_unique<HostInterfaceSource>();
}

}  // namespace fwup
