#pragma once

#include <windows.h>

#include <winioctl.h>

namespace fwup::win32 {

// The USB printing interface class {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}. Defined here rather
// than taken from usbprint.h, whose DEFINE_GUID only yields a definition under INITGUID and no
// MinGW import library carries it.
inline constexpr GUID kUsbPrintInterfaceClass = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

// The usbprint driver's vendor control-IN request (IOCTL_USBPRINT_VENDOR_GET_COMMAND).
inline constexpr DWORD kIoctlVendorGetCommand =
    CTL_CODE(FILE_DEVICE_UNKNOWN, 15, METHOD_BUFFERED, FILE_ANY_ACCESS);
static_assert(kIoctlVendorGetCommand == 0x22003C);

}  // namespace fwup::win32
