#pragma once

#include <string_view>

#include "device/channel.h"

namespace fwup {

// Upper bound on the interfaces one open walks past, so a misbehaving source cannot loop forever.
inline constexpr std::uint32_t kMaxInterfacesWalked = 256;

// Opens the present USB printing interface whose port name equals `wantedPortName` exactly.
// Interfaces without a port name are passed over. Returns null when there is no such interface
// or the platform refuses the open.
UsbChannel OpenUSBDevice(std::wstring_view wantedPortName);

}  // namespace fwup
