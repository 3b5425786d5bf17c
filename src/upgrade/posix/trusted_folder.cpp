#include "upgrade/posix/trusted_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

namespace fwup {
namespace {

// A path of more names than this is no lock folder anyone would name.
constexpr int kMaxDepth = 64;

std::string Failure(const std::string& what, const std::filesystem::path& path, int error) {
    return what + " " + path.string() + ": " + std::strerror(error);
}

// The rules every folder on the way meets; empty when it does.
std::string Untrusted(const struct stat& info, const std::filesystem::path& path) {
    if (!S_ISDIR(info.st_mode)) {
        return path.string() + " is not a folder";
    }
    if (info.st_uid != 0 && info.st_uid != geteuid()) {
        return path.string() + " belongs to another user (" + std::to_string(info.st_uid) + ")";
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0) {
        return path.string() + " may be written by other users";
    }
    return {};
}

std::string UnfitPrivate(const struct stat& info, const std::filesystem::path& path) {
    if (info.st_uid != geteuid()) {
        return path.string() + " belongs to another user (" + std::to_string(info.st_uid) + ")";
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return path.string() + " may be written by other users";
    }
    return {};
}

}  // namespace

int OpenTrustedFolder(const std::filesystem::path& path, FolderUse use, std::string& error) {
    std::error_code failed;
    const std::filesystem::path whole = std::filesystem::absolute(path, failed).lexically_normal();
    if (failed) {
        error = "cannot name the folder " + path.string() + ": " + failed.message();
        return -1;
    }
    std::vector<std::filesystem::path> names;
    for (const std::filesystem::path& name : whole.relative_path()) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    if (names.size() > kMaxDepth) {
        error = "the folder " + whole.string() + " is too deep";
        return -1;
    }
    int fd = open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::filesystem::path reached = "/";
    for (std::size_t i = 0; fd >= 0 && i <= names.size(); ++i) {
        struct stat info {};
        if (fstat(fd, &info) != 0) {
            error = Failure("cannot read", reached, errno);
            close(fd);
            return -1;
        }
        const bool last = i == names.size();
        error = (last && use == FolderUse::kPrivate) ? UnfitPrivate(info, reached)
                                                     : Untrusted(info, reached);
        if (error.empty() && last && use == FolderUse::kPrivate) {
            error = Untrusted(info, reached);
        }
        if (!error.empty()) {
            close(fd);
            return -1;
        }
        if (last) {
            break;
        }
        const std::string name = names[i].string();
        const bool makeHere = use == FolderUse::kPrivate && i + 1 == names.size();
        const int flags =
            (i + 1 == names.size() ? O_RDONLY : O_PATH) | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = openat(fd, name.c_str(), flags);
        if (next < 0 && errno == ENOENT && makeHere) {
            // The mode is set after: mkdir's is the umask's to cut.
            if (mkdirat(fd, name.c_str(), 0700) == 0 || errno == EEXIST) {
                next = openat(fd, name.c_str(), flags);
                if (next >= 0) {
                    struct stat made {};
                    if (fstat(next, &made) == 0 && made.st_uid == geteuid()) {
                        fchmod(next, 0700);
                    }
                }
            }
        }
        const int openError = errno;
        close(fd);
        reached /= names[i];
        if (next < 0) {
            error = openError == ELOOP || openError == ENOTDIR
                        ? reached.string() + " is a symlink or no folder"
                        : Failure("cannot open", reached, openError);
            return -1;
        }
        fd = next;
    }
    if (fd < 0) {
        error = Failure("cannot open", "/", errno);
    }
    return fd;
}

}  // namespace fwup
