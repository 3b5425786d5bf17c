#pragma once

#include <cstddef>
#include <memory>

#include "device/interface_source.h"

namespace fwup::win32 {

// Longest device instance ID read, terminator included.
inline constexpr std::size_t kInstanceIdChars = 512;

// The present USB printing interfaces as SetupAPI lists them, or null when SetupAPI cannot make
// the set.
std::unique_ptr<DeviceInterfaceSet> OpenUsbPrintInterfaceSet();

}  // namespace fwup::win32
