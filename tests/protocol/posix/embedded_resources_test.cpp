#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "device/sim/fnv1a.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;

// Dropping the pages of a linked-in package gives them back to the system; reading them again
// must still give the package's bytes, and nothing outside a package may ever be dropped (for
// heap memory that would mean zero-filled pages).
TEST(LinkedResourcesRelease, DroppedPackagePagesReadBackTheSameAndNothingElseIsTouched) {
    for (int id : {kPackagePlainId, kPackageEncryptedId}) {
        SCOPED_TRACE(id);
        const std::span<const std::uint8_t> package = EmbeddedPackage(id);
        ASSERT_GT(package.size(), 64u * 1024);
        const std::uint64_t digest = Fnv1a64Digest(package);

        ExecutableResources().Release(package.first(package.size() / 2));
        EXPECT_EQ(Fnv1a64Digest(package), digest);
        ExecutableResources().Release(package);
        EXPECT_EQ(Fnv1a64Digest(package), digest);
    }

    std::vector<std::uint8_t> heap(1 << 20, 0xA5);
    ExecutableResources().Release(heap);
    std::vector<std::uint8_t> stillThere(1 << 20, 0xA5);
    EXPECT_EQ(heap, stillThere);
}

}  // namespace
}  // namespace fwup
