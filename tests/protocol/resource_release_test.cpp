#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "base/fnv1a.h"
#include "protocol/firmware_resource.h"
#include "protocol/firmware_test_support.h"
#include "protocol/resource_pages.h"

namespace fwup {
namespace {

using testing::EmbeddedPackage;

// Giving back the pages of an embedded package must leave its bytes readable as they were, and
// must never touch memory outside a package (heap pages dropped on Linux come back zero-filled).
TEST(ExecutableResourcesRelease, DroppedPackagePagesReadBackTheSameAndNothingElseIsTouched) {
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

// Addresses only: nothing is read through them.
std::span<const std::uint8_t> At(std::uintptr_t address, std::size_t size) {
    return {reinterpret_cast<const std::uint8_t*>(address), size};
}

TEST(WholePagesWithin, OnlyWholePagesInsideBothRangesAndNeverAPageSharedWithOtherData) {
    constexpr std::size_t kPage = 4096;
    constexpr std::uintptr_t kBase = 0x10000000;
    // A resource starting and ending inside pages: its first and last pages are shared.
    const std::span<const std::uint8_t> resource = At(kBase + 100, 5 * kPage);

    const PageRange all = WholePagesWithin(resource, resource, kPage);
    EXPECT_EQ(all.begin, kBase + kPage);
    EXPECT_EQ(all.end, kBase + 5 * kPage);

    // A prefix ending inside a page stops before that page; one ending on a boundary takes it.
    EXPECT_EQ(WholePagesWithin(resource, resource.first(3 * kPage), kPage).end, kBase + 3 * kPage);
    EXPECT_EQ(WholePagesWithin(resource, resource.first(3 * kPage - 100), kPage).end,
              kBase + 3 * kPage);
    EXPECT_EQ(WholePagesWithin(resource, resource.first(3 * kPage - 101), kPage).end,
              kBase + 2 * kPage);

    // Bytes reaching past the resource are cut to it.
    const PageRange wide = WholePagesWithin(resource, At(kBase - 8 * kPage, 20 * kPage), kPage);
    EXPECT_EQ(wide.begin, all.begin);
    EXPECT_EQ(wide.end, all.end);

    // Nothing: outside the resource, less than a page, an empty span, a page size of no use.
    EXPECT_TRUE(WholePagesWithin(resource, At(kBase + 10 * kPage, kPage), kPage).empty());
    EXPECT_TRUE(WholePagesWithin(resource, resource.first(kPage), kPage).empty());
    EXPECT_TRUE(WholePagesWithin(resource, resource.subspan(kPage, 0), kPage).empty());
    EXPECT_TRUE(WholePagesWithin(resource, resource, 0).empty());
    EXPECT_TRUE(WholePagesWithin(resource, resource, 3000).empty());
}

}  // namespace
}  // namespace fwup
