#pragma once

#include <string_view>

#include "device/channel.h"
#include "device/printer_target.h"

namespace fwup {

// Opens the USB printing interface of a supported printer whose port name equals `printer`'s
// exactly. It looks at the same devices as discovery, in the same order, so the
// names in the printer list and the names it opens agree; devices the tool does not support and
// interfaces without a port name are passed over. Returns null when there is no such interface,
// when `printer` is pinned and the interface is another printer's (printer_target.h), or the
// platform refuses the open.
UsbChannel OpenUSBDevice(const PrinterTarget& printer);

}  // namespace fwup
