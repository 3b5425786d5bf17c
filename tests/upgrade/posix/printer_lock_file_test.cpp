// Linux: the simulated printers' lock is a file in a folder of this user's own, whatever the umask,
// and an attached printer's lock is its USB device node's flock; both are the flock a python or
// shell flock on the same file sees. Then what a second, unprivileged user can do against them
// (those cases need root, to be that user in a child process: they skip themselves otherwise).

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "fakes/temp_log_dir.h"
#include "upgrade/posix/flock_locks.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

namespace fs = std::filesystem;

// No account needs to exist for it: files only record the number.
constexpr uid_t kOtherUser = 54321;

DeviceEntry Attached() {
    DeviceEntry printer;
    printer.InstanceId = L"USB\\VID_5A7C&PID_B101\\SER0001";
    printer.InterfacePath = L"usb:1-1:if0:dev5:5a7c:b101";
    return printer;
}
const DeviceEntry kAttached = Attached();

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// A character device standing in for /dev/bus/usb/001/005 (a usbfs node opens only while its
// device is attached): the null device's numbers.
void MakeNode(const fs::path& usbRoot, mode_t mode) {
    fs::create_directories(usbRoot / "001");
    ASSERT_EQ(mknod((usbRoot / "001" / "005").c_str(), S_IFCHR | mode, makedev(1, 3)), 0)
        << "mknod needs root";
    chmod((usbRoot / "001" / "005").c_str(), mode);
}

TEST(PrinterLockFile, IsPrivateToThisUserWhateverTheUmaskAndIsTheFilesFlock) {
    testing::TempLogDir place;
    const fs::path folder = place.dir() / "locks";
    for (const mode_t umaskNow : {mode_t{0}, mode_t{0277}}) {
        fs::remove_all(folder);
        const mode_t before = umask(umaskNow);
        PrinterLockClaim claim = TakeHostPrinterLock(L"KEY", folder);
        umask(before);
        ASSERT_EQ(claim.claim, LockClaim::kTaken) << claim.detail;
        EXPECT_EQ(ModeOf(folder), 0700u) << "umask " << umaskNow;
        const fs::path file = folder / "KEY.lock";
        EXPECT_EQ(ModeOf(file), 0600u) << "umask " << umaskNow;
        DeviceEntry printer;
        printer.InstanceId = L"key";
        EXPECT_TRUE(claim.lock->Guards(printer));

        const int other = open(file.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "the lock is the file's flock";
        claim.lock.reset();
        EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(TakeHostPrinterLock(L"KEY", folder).claim, LockClaim::kHeldElsewhere);
        close(other);
    }
}

TEST(PrinterLockNode, IsTheDeviceNodesFlockAndGuardsThatNodeAlone) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root (mknod)";
    }
    testing::TempLogDir place;
    const fs::path usb = place.dir() / "usb";
    MakeNode(usb, 0660);
    PrinterLockClaim claim = TakeDeviceNodeLock(usb, kAttached);
    ASSERT_EQ(claim.claim, LockClaim::kTaken) << claim.detail;
    EXPECT_TRUE(claim.lock->Guards(kAttached));
    DeviceEntry back = kAttached;
    back.InterfacePath = L"usb:1-1:if0:dev6:5a7c:b101";  // the same printer after its flash
    EXPECT_FALSE(claim.lock->Guards(back));

    const int other = open((usb / "001" / "005").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "the lock is the node's flock";
    EXPECT_EQ(TakeDeviceNodeLock(usb, kAttached).claim, LockClaim::kHeldElsewhere);
    claim.lock.reset();
    EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    close(other);
}

// Runs `plant` as kOtherUser in a child process; true when it returned true there.
bool AsOtherUser(const std::function<bool()>& plant) {
    const pid_t child = fork();
    if (child == 0) {
        const bool ok = setgroups(0, nullptr) == 0 &&
                        setresgid(kOtherUser, kOtherUser, kOtherUser) == 0 &&
                        setresuid(kOtherUser, kOtherUser, kOtherUser) == 0 && plant();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// fs.protected_regular set for the life of this object where this process may set it (the
// container may keep /proc/sys read-only); `met` is what the case ran under.
class ProtectedRegular {
  public:
    explicit ProtectedRegular(std::optional<int> wanted) {
        before_ = Read();
        if (wanted && Write(*wanted)) {
            changed_ = true;
        }
        met = Read();
    }
    ~ProtectedRegular() {
        if (changed_ && before_) {
            Write(*before_);
        }
    }
    ProtectedRegular(const ProtectedRegular&) = delete;
    ProtectedRegular& operator=(const ProtectedRegular&) = delete;

    std::optional<int> met;

  private:
    static constexpr const char* kPath = "/proc/sys/fs/protected_regular";
    static std::optional<int> Read() {
        std::ifstream in(kPath);
        int value = 0;
        return (in >> value) ? std::optional<int>(value) : std::nullopt;
    }
    static bool Write(int value) {
        std::ofstream out(kPath);
        out << value;
        out.flush();
        return static_cast<bool>(out);
    }
    std::optional<int> before_;
    bool changed_ = false;
};

// What the other user does, in a folder tree root made: `shared` is sticky and writable by all,
// as /tmp and /run/lock are; `mine` is root's own, which the lock then lives in.
struct Ground {
    fs::path shared;
    fs::path mine;
    fs::path usb;
};

struct HostileCase {
    const char* name;
    std::optional<int> protectedRegular;
    std::function<bool(const Ground&)> plant;              // as the other user
    std::function<PrinterLockClaim(const Ground&)> claim;  // root's run, after
    LockClaim expected;
    std::function<void(const Ground&)> check = nullptr;  // what must hold after
};

// As the other user, against a lock root's run holds: true when every try was refused.
bool HeldFirm(const Ground& g) {
    return TakeFolderLock(g.mine, L"KEY").claim == LockClaim::kUnavailable &&
           TakeDeviceNodeLock(g.usb, kAttached).claim == LockClaim::kUnavailable &&
           unlink((g.mine / "KEY.lock").c_str()) != 0 &&
           rename(g.mine.c_str(), (g.shared / "gone").c_str()) != 0 &&
           open((g.usb / "001" / "005").c_str(), O_RDONLY) < 0;
}

PrinterLockClaim FolderAt(const fs::path& folder) {
    return TakeFolderLock(folder, L"KEY");
}

const HostileCase kHostileCases[] = {
    {"a directory planted at the lock file's name in a shared folder", std::nullopt,
     [](const Ground& g) { return mkdir((g.shared / "KEY.lock").c_str(), 0777) == 0; },
     [](const Ground& g) { return FolderAt(g.shared); }, LockClaim::kUnavailable},
    {"the lock folder made first by the other user", std::nullopt,
     [](const Ground& g) { return mkdir((g.shared / "viruzu-fwup").c_str(), 0777) == 0; },
     [](const Ground& g) { return FolderAt(g.shared / "viruzu-fwup"); }, LockClaim::kUnavailable},
    {"the lock folder a symlink to a folder of root's", std::nullopt,
     [](const Ground& g) {
         return symlink(g.mine.c_str(), (g.shared / "viruzu-fwup").c_str()) == 0;
     },
     [](const Ground& g) { return FolderAt(g.shared / "viruzu-fwup"); }, LockClaim::kUnavailable,
     [](const Ground& g) { EXPECT_FALSE(fs::exists(g.mine / "KEY.lock")) << "made through it"; }},
    {"a lock file the other user made, protected_regular 0", 0,
     [](const Ground& g) {
         return open((g.shared / "KEY.lock").c_str(), O_CREAT | O_RDWR, 0666) >= 0;
     },
     [](const Ground& g) { return FolderAt(g.shared); }, LockClaim::kUnavailable},
    {"a lock file the other user made, protected_regular 2", 2,
     [](const Ground& g) {
         return open((g.shared / "KEY.lock").c_str(), O_CREAT | O_RDWR, 0666) >= 0;
     },
     [](const Ground& g) { return FolderAt(g.shared); }, LockClaim::kUnavailable},
    {"root's own folder, which the other user can neither enter nor lock in", std::nullopt,
     [](const Ground& g) {
         return TakeFolderLock(g.mine, L"KEY").claim == LockClaim::kUnavailable &&
                mkdir((g.mine / "KEY.lock").c_str(), 0777) != 0;
     },
     [](const Ground& g) { return FolderAt(g.mine); }, LockClaim::kTaken},
    {"the printer's node, which the other user may not open", std::nullopt,
     [](const Ground& g) {
         return TakeDeviceNodeLock(g.usb, kAttached).claim == LockClaim::kUnavailable;
     },
     [](const Ground& g) { return TakeDeviceNodeLock(g.usb, kAttached); }, LockClaim::kTaken},
    {"the printer's node replaced by a symlink", std::nullopt, [](const Ground&) { return true; },
     [](const Ground& g) {
         fs::remove(g.usb / "001" / "005");
         fs::create_symlink("/dev/null", g.usb / "001" / "005");
         return TakeDeviceNodeLock(g.usb, kAttached);
     },
     LockClaim::kUnavailable},
};

class HostileUser : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileUser, NeitherTakesNorBreaksNorRedirectsTheLock) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root, to act as a second user";
    }
    const HostileCase& c = GetParam();
    testing::TempLogDir place;
    chmod(place.dir().c_str(), 0755);
    const Ground ground{place.dir() / "shared", place.dir() / "mine", place.dir() / "usb"};
    fs::create_directory(ground.shared);
    chmod(ground.shared.c_str(), 01777);
    fs::create_directory(ground.mine);
    chmod(ground.mine.c_str(), 0700);
    MakeNode(ground.usb, 0660);
    // Under protected_regular 2 root's O_CREAT of a file the other user made in a sticky
    // folder fails; the run must still refuse rather than go on.
    const ProtectedRegular rule(c.protectedRegular);
    if (c.protectedRegular && rule.met != c.protectedRegular) {
        std::printf("note: %s ran under protected_regular %d (could not set it)\n", c.name,
                    rule.met.value_or(-1));
    }

    ASSERT_TRUE(AsOtherUser([&] { return c.plant(ground); })) << c.name << ": the plant failed";
    const PrinterLockClaim claim = c.claim(ground);

    EXPECT_EQ(claim.claim, c.expected)
        << c.name << ": " << std::string(claim.detail.begin(), claim.detail.end());
    if (c.check) {
        c.check(ground);
    }
    if (claim.claim == LockClaim::kTaken) {
        EXPECT_TRUE(AsOtherUser([&] { return HeldFirm(ground); })) << c.name << ": broken";
        EXPECT_EQ(c.claim(ground).claim, LockClaim::kHeldElsewhere) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, HostileUser, ::testing::ValuesIn(kHostileCases));

}  // namespace
}  // namespace fwup
