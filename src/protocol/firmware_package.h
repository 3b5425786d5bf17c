#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace fwup {

// The outer layout of a firmware package, one print job:
//   UEL | "@PJL ENTER LANGUAGE=ACL\r\n" | 16-byte frame | L payload bytes | UEL
// The frame carries ACL_PREFIX, ACLCMD_FW_UPDATE and, at frame bytes 10-13, L.
inline constexpr std::size_t kPackageFrameOffset = 34;
inline constexpr std::size_t kPackagePayloadOffset = 50;
inline constexpr std::size_t kPackageLengthFieldOffset = 10;  // within the frame
inline constexpr std::size_t kPackageOverheadBytes = 59;      // everything but the payload

enum class PackageLayoutFault {
    kNone,
    kTooShort,  // fewer bytes than an empty package
    kBadOpeningUel,
    kBadLanguageLine,
    kBadPrefix,
    kBadCommand,
    kLengthMismatch,  // the size is not L + 59
    kBadClosingUel,
};

// Checks a package's outer layout without looking into the payload. The transfer itself sends
// whatever the resource holds; the build runs the same check on every package it embeds.
PackageLayoutFault CheckPackageLayout(std::span<const std::uint8_t> package);

// L as the frame announces it; 0 for a package too short to hold a frame.
std::uint32_t PackagePayloadLength(std::span<const std::uint8_t> package);

// A short English description of the fault, for test and tool output.
std::string_view DescribePackageLayoutFault(PackageLayoutFault fault);

}  // namespace fwup
