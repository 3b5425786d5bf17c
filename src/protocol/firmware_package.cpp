#include "protocol/firmware_package.h"

#include <algorithm>

#include "protocol/acl_frame.h"

namespace fwup {
namespace {

bool Matches(std::span<const std::uint8_t> bytes, std::size_t offset, std::string_view text) {
    return std::equal(
        text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset),
        [](char expected, std::uint8_t got) { return static_cast<std::uint8_t>(expected) == got; });
}

}  // namespace

std::uint32_t PackagePayloadLength(std::span<const std::uint8_t> package) {
    if (package.size() < kPackagePayloadOffset) {
        return 0;
    }
    return ReadBe32(package.subspan(kPackageFrameOffset, kAclFrameSize), kPackageLengthFieldOffset);
}

PackageLayoutFault CheckPackageLayout(std::span<const std::uint8_t> package) {
    static_assert(kPackageFrameOffset == UEL.size() + kAclLanguageLine.size());
    static_assert(kPackagePayloadOffset == kPackageFrameOffset + kAclFrameSize);
    static_assert(kPackageOverheadBytes == kPackagePayloadOffset + UEL.size());

    if (package.size() < kPackageOverheadBytes) {
        return PackageLayoutFault::kTooShort;
    }
    if (!Matches(package, 0, UEL)) {
        return PackageLayoutFault::kBadOpeningUel;
    }
    if (!Matches(package, UEL.size(), kAclLanguageLine)) {
        return PackageLayoutFault::kBadLanguageLine;
    }
    const std::span<const std::uint8_t> frame = package.subspan(kPackageFrameOffset, kAclFrameSize);
    if (ReadBe16(frame, kAclPrefixOffset) != ACL_PREFIX) {
        return PackageLayoutFault::kBadPrefix;
    }
    if (ReadBe16(frame, kAclCmdIdOffset) != ACLCMD_FW_UPDATE) {
        return PackageLayoutFault::kBadCommand;
    }
    // In 64 bits: L + 59 must not wrap for an L near 4 GiB.
    const std::uint64_t expected =
        std::uint64_t{PackagePayloadLength(package)} + kPackageOverheadBytes;
    if (package.size() != expected) {
        return PackageLayoutFault::kLengthMismatch;
    }
    if (!Matches(package, package.size() - UEL.size(), UEL)) {
        return PackageLayoutFault::kBadClosingUel;
    }
    return PackageLayoutFault::kNone;
}

std::string_view DescribePackageLayoutFault(PackageLayoutFault fault) {
    switch (fault) {
        case PackageLayoutFault::kNone:
            return "well formed";
        case PackageLayoutFault::kTooShort:
            return "shorter than an empty package";
        case PackageLayoutFault::kBadOpeningUel:
            return "does not begin with a UEL";
        case PackageLayoutFault::kBadLanguageLine:
            return "no ACL language line after the opening UEL";
        case PackageLayoutFault::kBadPrefix:
            return "frame prefix is not ACL_PREFIX";
        case PackageLayoutFault::kBadCommand:
            return "frame command is not ACLCMD_FW_UPDATE";
        case PackageLayoutFault::kLengthMismatch:
            return "size is not the announced payload length plus 59";
        case PackageLayoutFault::kBadClosingUel:
            return "does not end with a UEL";
    }
    return "unknown fault";
}

}  // namespace fwup
