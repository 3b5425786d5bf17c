#include "log/posix/regular_file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fwup {
namespace {

// Signals may keep interrupting an open; after this many it is given up.
constexpr int kMaxInterruptions = 16;

RegularOpen FailureOf(int error) {
    switch (error) {
        case ENOENT:
            return RegularOpen::kAbsent;
        case ELOOP:   // a symbolic link, refused by O_NOFOLLOW
        case ENXIO:   // a FIFO without a reader, or a device without its hardware
        case EISDIR:  // a folder
        case ENOTDIR:
            return RegularOpen::kRefused;
        default:
            return RegularOpen::kFailed;
    }
}

// The folder `name` is in, held open so that what is checked is what is written into.
UniqueFd OpenRootsFolder(const std::string& name, std::string& leaf, RegularOpen& how) {
    const std::size_t cut = name.rfind('/');
    const std::string folder = cut == std::string::npos ? "."
                               : cut == 0               ? "/"
                                                        : name.substr(0, cut);
    leaf = cut == std::string::npos ? name : name.substr(cut + 1);
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!dir.valid()) {
        how = FailureOf(errno);
    } else if (::fstat(dir.get(), &info) != 0) {
        how = RegularOpen::kFailed;
        dir.reset();
    } else if (info.st_uid != 0) {
        how = RegularOpen::kRefused;
        dir.reset();
    }
    return dir;
}

}  // namespace

void UniqueFd::reset(int fd) {
    const int old = std::exchange(fd_, fd);
    if (old >= 0) {
        ::close(old);
    }
}

UniqueFd OpenRegularFile(const std::string& name, int flags, mode_t mode, OpenPurpose purpose,
                         RegularOpen& how) {
    const bool guardOwner = purpose == OpenPurpose::kWrite && ::geteuid() == 0;
    std::string leaf = name;
    UniqueFd folder;
    if (guardOwner) {
        folder = OpenRootsFolder(name, leaf, how);
        if (!folder.valid()) {
            return {};
        }
    }
    const int at = folder.valid() ? folder.get() : AT_FDCWD;
    UniqueFd file;
    for (int attempt = 0; attempt < kMaxInterruptions && !file.valid(); ++attempt) {
        file.reset(::openat(at, leaf.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode));
        if (!file.valid() && errno != EINTR) {
            how = FailureOf(errno);
            return {};
        }
    }
    struct stat info {};
    if (!file.valid()) {
        how = RegularOpen::kFailed;
    } else if (::fstat(file.get(), &info) != 0) {
        how = RegularOpen::kFailed;
        file.reset();
    } else if (!S_ISREG(info.st_mode) || (guardOwner && (info.st_uid != 0 || info.st_nlink != 1))) {
        how = RegularOpen::kRefused;
        file.reset();
    } else {
        how = RegularOpen::kOpened;
    }
    return file;
}

}  // namespace fwup
