#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace fwup {

inline constexpr std::uint16_t ACL_PREFIX = 0x00AC;
inline constexpr std::uint16_t ACLCMD_GET_FW_VERSION = 0xFF21;
inline constexpr std::uint16_t ACLCMD_GET_PRINTER_STATUS = 0xFF87;
inline constexpr std::uint16_t ACLCMD_FW_UPDATE = 0x000F;

inline constexpr std::size_t kAclFrameSize = 16;
// A request holds the header and at most this much text behind it.
inline constexpr std::size_t kAclMaxTextBytes = 4096;

// The PJL Universal Exit Language sequence that opens and closes every job.
inline constexpr std::string_view UEL{"\x1B%-12345X", 9};
// The PJL line that switches the printer to ACL (no terminating zero is sent).
inline constexpr std::string_view kAclLanguageLine{"@PJL ENTER LANGUAGE=ACL\r\n", 25};

// Named offsets of the 16-byte header.
inline constexpr std::size_t kAclPrefixOffset = 0;
inline constexpr std::size_t kAclCmdIdOffset = 2;
inline constexpr std::size_t kAclArgumentOffset = 4;  // request argument / reply cmdStatus
inline constexpr std::size_t kAclDataOffset = 6;      // reply data (status byte, length N)

std::uint16_t ReadBe16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t ReadBe32(std::span<const std::uint8_t> bytes, std::size_t offset);
void WriteBe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);

// The 16-byte big-endian ACL frame header shared by requests, replies and the firmware package.
struct AclFrame {
    std::array<std::uint8_t, kAclFrameSize> bytes{};

    // A request header: prefix, command and argument; every other byte zero.
    static AclFrame Request(std::uint16_t cmdID, std::uint16_t argument = 0);

    std::uint16_t prefix() const { return ReadBe16(bytes, kAclPrefixOffset); }
    std::uint16_t cmdID() const { return ReadBe16(bytes, kAclCmdIdOffset); }
    // Reply: the command's status word. Request: the argument (text length).
    std::uint16_t cmdStatus() const { return ReadBe16(bytes, kAclArgumentOffset); }
    // Reply of the version command: N, the length of the data behind the header.
    std::uint16_t dataLength() const { return ReadBe16(bytes, kAclDataOffset); }
    // Reply of the status command: the printer's status code, taken as signed.
    std::int8_t statusByte() const { return static_cast<std::int8_t>(bytes[kAclDataOffset]); }
};

}  // namespace fwup
