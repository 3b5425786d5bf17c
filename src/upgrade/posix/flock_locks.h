#pragma once

#include <filesystem>
#include <string_view>

#include "upgrade/printer_lock.h"

namespace fwup {

// The two Linux locks behind TakeHostPrinterLock and TakeHostDeviceLock, with their places named
// so that tests can point them elsewhere.

// flock on <folder>/<key>.lock, the folder met as FolderUse::kPrivate (made 0700 when absent),
// the file opened without following a link and refused unless it is a regular file of this user.
PrinterLockClaim TakeFolderLock(const std::filesystem::path& folder, std::wstring_view key);

// flock on <usbRoot>/BBB/DDD, the device node of the printer's interface path (bus and device
// address), opened for writing and refused unless it is a character device; every folder on the
// way met as FolderUse::kShared.
PrinterLockClaim TakeDeviceNodeLock(const std::filesystem::path& usbRoot,
                                    const DeviceEntry& printer);

}  // namespace fwup
