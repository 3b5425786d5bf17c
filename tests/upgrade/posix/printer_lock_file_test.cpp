// Linux: the lock's folder and file are shared by every user whatever the umask, and the lock is
// the file's flock, which a python or shell flock on the same file sees.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_log_dir.h"
#include "upgrade/printer_lock.h"

namespace fwup {
namespace {

TEST(PrinterLockFile, IsSharedByAllUsersAndIsTheFilesFlock) {
    testing::TempLogDir place;
    const std::filesystem::path folder = place.dir() / "locks";
    const mode_t before = umask(077);
    PrinterLockClaim claim = TakeHostPrinterLock(L"KEY", folder);
    umask(before);
    ASSERT_EQ(claim.claim, LockClaim::kTaken);

    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 01777u);
    const std::filesystem::path file = folder / "KEY.lock";
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u);

    const int other = open(file.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "the lock is the file's flock";
    claim.lock.reset();
    EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    // Held by someone else now: the program's claim sees it.
    EXPECT_EQ(TakeHostPrinterLock(L"KEY", folder).claim, LockClaim::kHeldElsewhere);
    close(other);
}

}  // namespace
}  // namespace fwup
