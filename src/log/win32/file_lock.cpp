#include <windows.h>

#include "base/clock.h"
#include "log/file_lock.h"
#include "log/win32/regular_file_open.h"

namespace fwup {
namespace {

constexpr std::uint32_t kRetryMs = 10;

}  // namespace

FileLock::FileLock(const std::wstring& path) {
    RegularOpen how = RegularOpen::kFailed;
    const HANDLE file =
        OpenRegularFile(path, GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_ALWAYS, how);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    Clock& clock = ActiveClock();
    for (std::uint32_t waited = 0;; waited += kRetryMs) {
        OVERLAPPED whole{};
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                         &whole)) {
            held_ = true;
            handle_ = reinterpret_cast<std::intptr_t>(file);
            return;
        }
        if (::GetLastError() != ERROR_LOCK_VIOLATION || waited >= kFileLockWaitMs) {
            ::CloseHandle(file);
            return;
        }
        clock.SleepMs(kRetryMs);
    }
}

FileLock::~FileLock() {
    if (held_) {
        // Closing the handle gives the hold back.
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

}  // namespace fwup
