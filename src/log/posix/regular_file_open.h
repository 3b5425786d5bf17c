#pragma once

#include <sys/types.h>

#include <string>
#include <utility>

#include "log/regular_open.h"

namespace fwup {

// Sole owner of one file descriptor.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1);

  private:
    int fd_ = -1;
};

// Who a file is opened for: a writer run as root is also kept out of other users' files and
// folders, since they could otherwise steer where root writes.
enum class OpenPurpose { kRead, kWrite };

// Opens `name` with `flags` (and `mode` when it is made) without following a symbolic link in
// its last part and without waiting on a FIFO, and keeps the descriptor only when it is a regular
// file. For a writer run as root the folder must be root's and not a link, and the file root's
// with no second name. The descriptor is non-blocking, which a regular file ignores.
UniqueFd OpenRegularFile(const std::string& name, int flags, mode_t mode, OpenPurpose purpose,
                         RegularOpen& how);

}  // namespace fwup
