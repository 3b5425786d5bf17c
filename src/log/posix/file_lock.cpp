#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "base/clock.h"
#include "base/wide_text.h"
#include "log/file_lock.h"
#include "log/posix/regular_file_open.h"

namespace fwup {
namespace {

constexpr std::uint32_t kRetryMs = 10;

}  // namespace

FileLock::FileLock(const std::wstring& path) {
    RegularOpen how = RegularOpen::kFailed;
    // Owner-only: flock needs no more than a read-only descriptor, so a lock file others could
    // open would let any of them hold the history up.
    UniqueFd file = OpenRegularFile(ToUtf8(path), O_RDWR | O_CREAT, 0600, OpenPurpose::kWrite, how);
    if (!file.valid()) {
        return;
    }
    Clock& clock = ActiveClock();
    for (std::uint32_t waited = 0;; waited += kRetryMs) {
        if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            handle_ = file.release();
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kFileLockWaitMs) {
            return;
        }
        clock.SleepMs(kRetryMs);
    }
}

FileLock::~FileLock() {
    if (handle_ >= 0) {
        // Closing the only descriptor gives the hold back.
        ::close(static_cast<int>(handle_));
    }
}

}  // namespace fwup
