#pragma once

#include <string_view>

#include "device/channel.h"
#include "device/libusb/usb_backend.h"

namespace fwup::libusb {

// Opens the printing interface named by `path` (FormatInterfacePath): finds the device again at
// the same place with the same address and IDs, opens it, takes the interface (InterfaceClaim),
// and on an interface with more than one alternate setting selects the channel's one
// (ChooseChannelSetting). A driver that held the interface before may have left any setting
// selected, but an interface with a single setting is not asked: some printers stall a
// SET_INTERFACE they do not expect. Null when the device is gone or any step fails, with
// everything taken given back.
UsbChannel OpenPrintingInterface(UsbBackend& backend, std::wstring_view path);

}  // namespace fwup::libusb
