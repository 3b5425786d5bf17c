#pragma once

#include <string_view>

#include "device/channel.h"

namespace fwup {

// Opens the USB printing interface of a supported printer whose port name equals
// `wantedPortName` exactly. It looks at the same devices as discovery, in the same order, so the
// names in the printer list and the names it opens agree; devices the tool does not support and
// interfaces without a port name are passed over. Returns null when there is no such interface,
// when a PortPin holds the name to another device (port_pin.h), or the platform refuses the open.
UsbChannel OpenUSBDevice(std::wstring_view wantedPortName);

}  // namespace fwup
