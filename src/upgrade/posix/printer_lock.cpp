// Linux: flock on a file per printer. A lock belongs to the open file description, so it is gone
// with the process however it ends, and two opens of the file never share it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/environment.h"
#include "base/wide_text.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

constexpr const char* kSystemFolder = "/run/lock/viruzu-fwup";

class FileLock final : public PrinterLock {
  public:
    explicit FileLock(int fd) : fd_(fd) {}
    ~FileLock() override { close(fd_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_;
};

std::wstring Failure(const std::string& what, const std::filesystem::path& path) {
    return FromUtf8(what + " " + path.string() + ": " + std::strerror(errno));
}

// One folder's try; kUnavailable sends the caller on to the next folder.
PrinterLockClaim TryFolder(const std::filesystem::path& folder, const std::string& fileName) {
    // Any user may take a printer's lock, so the folder is sticky and writable by all and the
    // file readable and writable by all, whatever the umask.
    if (mkdir(folder.c_str(), 01777) == 0) {
        chmod(folder.c_str(), 01777);
    } else if (errno != EEXIST) {
        return {LockClaim::kUnavailable, nullptr, Failure("cannot make", folder)};
    }
    const std::filesystem::path file = folder / fileName;
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return {LockClaim::kUnavailable, nullptr, Failure("cannot open", file)};
    }
    fchmod(fd, 0666);  // refused unless this user made the file, which is then already shared
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return {LockClaim::kTaken, std::make_unique<FileLock>(fd), {}};
    }
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) {
        return {LockClaim::kHeldElsewhere, nullptr, {}};
    }
    errno = error;
    return {LockClaim::kUnavailable, nullptr, Failure("cannot lock", file)};
}

}  // namespace

PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place) {
    std::vector<std::filesystem::path> folders;
    if (place) {
        folders.push_back(*place);
    } else {
        folders.emplace_back(kSystemFolder);
        if (const std::optional<std::filesystem::path> runtime =
                EnvironmentPath(L"XDG_RUNTIME_DIR")) {
            folders.push_back(*runtime / "viruzu-fwup");
        }
    }
    const std::string fileName = ToUtf8(key) + ".lock";
    PrinterLockClaim claim{LockClaim::kUnavailable, nullptr, L"no folder for the lock"};
    for (const std::filesystem::path& folder : folders) {
        claim = TryFolder(folder, fileName);
        if (claim.claim != LockClaim::kUnavailable) {
            return claim;
        }
    }
    return claim;
}

}  // namespace fwup
