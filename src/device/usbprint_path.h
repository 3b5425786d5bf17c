#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fwup {

// The interface path Windows gives the USB printing interface of the device `instanceId`:
// USB\VID_5A7C&PID_B101\SER0001 becomes
// \\?\usb#vid_5a7c&pid_b101#ser0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}.
// A second device with the same instance ID (a serial two printers share, or none) is told apart
// by `instance` (2, 3, ...): ser0001&2 in the middle.
std::wstring DefaultUsbPrintPath(std::wstring_view instanceId, std::size_t instance = 1);

}  // namespace fwup
