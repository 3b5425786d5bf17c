// Linux: a run holds its printer by an flock. A lock belongs to the open file description, so it
// is gone with the process however it ends, and two opens of the file never share it.
//
// An attached printer's lock is its USB device node: only who may open the node for writing (root,
// and the user udev gives the printer to) can hold it, so nobody else can block an upgrade or let
// a second run in, and no file or folder of ours lies in a place others could plant things in.
// A simulated printer has no node: its lock is a file in a folder of this user's own.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/environment.h"
#include "base/wide_text.h"
#include "device/libusb/interface_path.h"
#include "upgrade/posix/flock_locks.h"
#include "upgrade/posix/trusted_folder.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

constexpr const char* kUsbDeviceRoot = "/dev/bus/usb";

class FlockLock final : public PrinterLock {
  public:
    FlockLock(int fd, bool onNode, std::wstring key, std::wstring interfacePath)
        : fd_(fd),
          onNode_(onNode),
          key_(std::move(key)),
          interfacePath_(std::move(interfacePath)) {}
    ~FlockLock() override { close(fd_); }
    FlockLock(const FlockLock&) = delete;
    FlockLock& operator=(const FlockLock&) = delete;

    bool Guards(const DeviceEntry& printer) const override {
        return onNode_ ? printer.InterfacePath == interfacePath_
                       : PrinterLockKey(printer.InstanceId) == key_;
    }

  private:
    int fd_;
    bool onNode_;
    std::wstring key_;            // a folder lock's printer
    std::wstring interfacePath_;  // a device node lock's printer
};

PrinterLockClaim Unavailable(const std::string& detail) {
    return {LockClaim::kUnavailable, nullptr, FromUtf8(detail)};
}

std::string Failure(const std::string& what, const std::filesystem::path& path, int error) {
    return what + " " + path.string() + ": " + std::strerror(error);
}

// Takes the flock of `fd` (closed unless taken).
PrinterLockClaim Lock(int fd, const std::filesystem::path& path, bool onNode, std::wstring key,
                      std::wstring interfacePath) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return {LockClaim::kTaken,
                std::make_unique<FlockLock>(fd, onNode, std::move(key), std::move(interfacePath)),
                {}};
    }
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) {
        return {LockClaim::kHeldElsewhere, nullptr, {}};
    }
    return Unavailable(Failure("cannot lock", path, error));
}

// Where a simulated printer's lock goes when no place is named: this user's own folders first.
std::vector<std::filesystem::path> PrivatePlaces() {
    std::vector<std::filesystem::path> places;
    if (const std::optional<std::filesystem::path> runtime = EnvironmentPath(L"XDG_RUNTIME_DIR")) {
        places.push_back(*runtime / "viruzu-fwup");
    }
    if (geteuid() == 0) {
        places.emplace_back("/run/viruzu-fwup");
    } else {
        places.emplace_back("/tmp/viruzu-fwup-" + std::to_string(geteuid()));
    }
    return places;
}

}  // namespace

PrinterLockClaim TakeFolderLock(const std::filesystem::path& folder, std::wstring_view key) {
    std::string error;
    const int dir = OpenTrustedFolder(folder, FolderUse::kPrivate, error);
    if (dir < 0) {
        return Unavailable(error);
    }
    const std::string name = ToUtf8(key) + ".lock";
    const std::filesystem::path file = folder / name;
    const int fd = openat(dir, name.c_str(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    const int openError = errno;
    close(dir);
    if (fd < 0) {
        return Unavailable(Failure("cannot open", file, openError));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        return Unavailable(file.string() + " is not a file of this user's");
    }
    fchmod(fd, 0600);  // a file just made has the umask's cut of it
    return Lock(fd, file, false, std::wstring(key), {});
}

PrinterLockClaim TakeDeviceNodeLock(const std::filesystem::path& usbRoot,
                                    const DeviceEntry& printer) {
    const std::optional<libusb::InterfaceAddress> address =
        libusb::ParseInterfacePath(printer.InterfacePath);
    if (!address) {
        return Unavailable("no USB device node for the interface path " +
                           ToUtf8(printer.InterfacePath));
    }
    char bus[8];
    char device[8];
    std::snprintf(bus, sizeof bus, "%03u", unsigned{address->bus});
    std::snprintf(device, sizeof device, "%03u", unsigned{address->deviceAddress});
    std::string error;
    const int dir = OpenTrustedFolder(usbRoot / bus, FolderUse::kShared, error);
    if (dir < 0) {
        return Unavailable(error);
    }
    const std::filesystem::path node = usbRoot / bus / device;
    // For writing: whoever may only read the node (its mode may let every user read it) may not
    // use the printer, so may not hold its lock either.
    const int fd = openat(dir, device, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    const int openError = errno;
    close(dir);
    if (fd < 0) {
        return Unavailable(Failure("cannot open", node, openError) +
                           (openError == EACCES || openError == EPERM
                                ? " (this user may not use the printer)"
                                : ""));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
        close(fd);
        return Unavailable(node.string() + " is not a device node");
    }
    return Lock(fd, node, true, {}, printer.InterfacePath);
}

PrinterLockClaim TakeHostPrinterLock(std::wstring_view key,
                                     const std::optional<std::filesystem::path>& place) {
    if (place) {
        return TakeFolderLock(*place, key);
    }
    PrinterLockClaim claim;
    for (const std::filesystem::path& folder : PrivatePlaces()) {
        claim = TakeFolderLock(folder, key);
        if (claim.claim != LockClaim::kUnavailable) {
            return claim;
        }
    }
    return claim;
}

PrinterLockClaim TakeHostDeviceLock(const DeviceEntry& printer) {
    return TakeDeviceNodeLock(kUsbDeviceRoot, printer);
}

}  // namespace fwup
