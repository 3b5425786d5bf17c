#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "device/printer_arrivals.h"

namespace fwup::libusb {

// A watch over libusb's hot-plug events on a context of its own, counting the devices of
// `vendorIds` (any vendor when empty) that arrive or leave. It only hears what the kernel
// announces: no device is opened or asked anything. Null when libusb cannot start, has no
// hot-plug support here, or refuses the registration. Destroying it stops its thread within a
// moment.
std::unique_ptr<ArrivalWatch> MakeUsbArrivalWatch(std::span<const std::uint16_t> vendorIds);

// The vendors of the device table, each once: a mouse plugged in does not make a window relist.
std::vector<std::uint16_t> DeviceTableVendorIds();

}  // namespace fwup::libusb
