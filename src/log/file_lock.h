#pragma once

#include <cstdint>
#include <string>

namespace fwup {

// An exclusive hold across processes on the lock file `path`, taken when made and given back
// when it goes. The file is made when missing (on POSIX readable by its owner only, so that no
// other user can take the hold) and refused on the same terms as AppendToFile. The wait for another
// holder is bounded through the clock seam: whoever holds it holds it for one line's write. Defined
// per platform (flock, LockFileEx).
class FileLock {
  public:
    explicit FileLock(const std::wstring& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }

  private:
    bool held_ = false;
    std::intptr_t handle_ = -1;  // a file descriptor, or a HANDLE on Windows
};

// How long FileLock waits for another holder before giving up.
inline constexpr std::uint32_t kFileLockWaitMs = 5000;

}  // namespace fwup
