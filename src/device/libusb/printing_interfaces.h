#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/libusb/channel_setting.h"
#include "device/libusb/interface_path.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// Most printing interfaces one list yields; the same bound as the open's walk.
inline constexpr std::size_t kMaxPrintingInterfaces = 256;
// Most devices of one list examined, so a list that claims absurd counts cannot stall a walk.
inline constexpr std::size_t kMaxDevicesExamined = 1024;

// One printing interface (see ChooseChannelSetting) of a device in a UsbDeviceList.
struct PrintingInterface {
    std::size_t deviceIndex = 0;  // in the list it was found in
    InterfaceAddress address;
    bool composite = false;  // the active configuration has more than one interface
    std::size_t altSettingCount = 0;
    ChannelSetting setting;
    std::uint8_t serialNumberIndex = 0;
};

// The printing interfaces of the active configurations of the devices in `list`, in the stable
// order: by bus number, then by port path (compared port by port from the root; a hub's own path
// before the paths below it), then by interface number. Devices whose descriptors, configuration
// or place cannot be read, and root hubs, are passed over; a repeated interface number of one
// device counts once. At most kMaxPrintingInterfaces, the first ones in that order.
std::vector<PrintingInterface> FindPrintingInterfaces(UsbDeviceList& list);

// The port number of the interface at `address` among `interfaces` (as FindPrintingInterfaces
// orders them): its 1-based position. None when it is not among them.
std::optional<std::uint32_t> PortNumberIn(const std::vector<PrintingInterface>& interfaces,
                                          const InterfaceAddress& address);

}  // namespace fwup::libusb
