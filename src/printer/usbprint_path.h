#pragma once

#include <string>
#include <string_view>

namespace fwup {

// The interface path Windows gives the USB printing interface of the device `instanceId`:
// USB\VID_5A7C&PID_B101\SER0001 becomes
// \\?\usb#vid_5a7c&pid_b101#ser0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}.
std::wstring DefaultUsbPrintPath(std::wstring_view instanceId);

}  // namespace fwup
