#pragma once

#include <windows.h>

#include <setupapi.h>

#include "base/win32/unique_win32.h"

namespace fwup::win32 {

struct DeviceInfoSetTraits {
    using Type = HDEVINFO;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type set) { SetupDiDestroyDeviceInfoList(set); }
};

using UniqueDeviceInfoSet = UniqueWin32<DeviceInfoSetTraits>;

}  // namespace fwup::win32
