// The package layout check, and the packages the test binary embeds as resources 3000 and 3001.

#include "protocol/firmware_package.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "base/fnv1a.h"
#include "firmware_test_support.h"
#include "protocol/firmware_resource.h"

namespace fwup {
namespace {

std::vector<std::uint8_t> MakePackage(std::uint32_t payloadBytes) {
    std::vector<std::uint8_t> package;
    const std::string_view head{
        "\x1B%-12345X@PJL ENTER LANGUAGE=ACL\r\n"
        "\x00\xAC\x00\x0F\x02\x07\x00\x00\x00\x01",
        44};
    package.assign(head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8) {
        package.push_back(static_cast<std::uint8_t>(payloadBytes >> shift));
    }
    package.push_back(0xFF);
    package.push_back(0x0A);
    for (std::uint32_t i = 0; i < payloadBytes; ++i) {
        package.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    }
    const std::string_view uel{"\x1B%-12345X", 9};
    package.insert(package.end(), uel.begin(), uel.end());
    return package;
}

TEST(PackageLayout, AcceptsWellFormedPackagesOfAnyPayloadLength) {
    for (std::uint32_t payload : {0u, 1u, 9u, 1000u}) {
        const std::vector<std::uint8_t> package = MakePackage(payload);
        ASSERT_EQ(package.size(), payload + 59u);
        EXPECT_EQ(CheckPackageLayout(package), PackageLayoutFault::kNone) << payload;
        EXPECT_EQ(PackagePayloadLength(package), payload);
    }
}

struct Spoil {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    PackageLayoutFault fault;
};

class PackageLayoutRefuses : public ::testing::TestWithParam<Spoil> {};

TEST_P(PackageLayoutRefuses, ASpoiltPackage) {
    std::vector<std::uint8_t> package = MakePackage(100);
    GetParam().apply(package);
    const PackageLayoutFault fault = CheckPackageLayout(package);
    EXPECT_EQ(fault, GetParam().fault) << DescribePackageLayoutFault(fault);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PackageLayoutRefuses,
    ::testing::Values(
        Spoil{"Empty", [](auto& p) { p.clear(); }, PackageLayoutFault::kTooShort},
        Spoil{"ShorterThanFrame", [](auto& p) { p.resize(58); }, PackageLayoutFault::kTooShort},
        Spoil{"OpeningUel", [](auto& p) { p[8] = 'Y'; }, PackageLayoutFault::kBadOpeningUel},
        Spoil{"LanguageLine", [](auto& p) { p[30] = 'P'; }, PackageLayoutFault::kBadLanguageLine},
        Spoil{"Prefix", [](auto& p) { p[35] = 0xAD; }, PackageLayoutFault::kBadPrefix},
        Spoil{"Command", [](auto& p) { p[37] = 0x87; }, PackageLayoutFault::kBadCommand},
        Spoil{"LengthTooLarge", [](auto& p) { p[47] = 101; }, PackageLayoutFault::kLengthMismatch},
        Spoil{"LengthTooSmall", [](auto& p) { p[47] = 99; }, PackageLayoutFault::kLengthMismatch},
        Spoil{"TruncatedTail", [](auto& p) { p.pop_back(); }, PackageLayoutFault::kLengthMismatch},
        Spoil{"ClosingUel", [](auto& p) { p.back() = 'Y'; }, PackageLayoutFault::kBadClosingUel}),
    [](const ::testing::TestParamInfo<Spoil>& info) { return std::string(info.param.name); });

// The packages of the test binary, as the platform's resource lookup finds them (PE resources
// on Windows, linked-in data on Linux).
TEST(EmbeddedPackages, BothArePresentWellFormedAndDistinct) {
    std::uint64_t digests[2] = {};
    int index = 0;
    for (int id : {kPackagePlainId, kPackageEncryptedId}) {
        std::uint32_t queried = 0;
        ASSERT_EQ(LoadBinaryResource(nullptr, &queried, id), 1) << id;
        std::span<const std::uint8_t> bytes;
        std::uint32_t size = 0;
        ASSERT_EQ(LoadBinaryResource(&bytes, &size, id), 1) << id;
        EXPECT_EQ(size, queried);
        EXPECT_EQ(bytes.size(), size);
        EXPECT_GT(size, 256u * 1024u) << "too small to need more than one write";
        const PackageLayoutFault fault = CheckPackageLayout(bytes);
        EXPECT_EQ(fault, PackageLayoutFault::kNone)
            << id << ": " << DescribePackageLayoutFault(fault);
        digests[index++] = Fnv1a64Digest(bytes);
    }
    EXPECT_NE(digests[0], digests[1]) << "a test could not tell which package was sent";
}

TEST(EmbeddedPackages, LookupFailsWithoutTouchingTheSize) {
    for (int id : {0, -1, 2999, 3002, 0x10000 + 3000}) {
        std::span<const std::uint8_t> bytes;
        std::uint32_t size = 77;
        EXPECT_EQ(LoadBinaryResource(nullptr, &size, id), 0) << id;
        EXPECT_EQ(LoadBinaryResource(&bytes, &size, id), 0) << id;
        EXPECT_EQ(size, 77u);
        EXPECT_TRUE(bytes.empty());
    }
    std::span<const std::uint8_t> bytes;
    EXPECT_EQ(LoadBinaryResource(&bytes, nullptr, kPackagePlainId), 0) << "no size out";
    EXPECT_EQ(LoadBinaryResource(nullptr, nullptr, kPackagePlainId), 0);
}

}  // namespace
}  // namespace fwup
