#include "protocol/acl_frame.h"

namespace fwup {

std::uint16_t ReadBe16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

std::uint32_t ReadBe32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return (static_cast<std::uint32_t>(ReadBe16(bytes, offset)) << 16) |
           ReadBe16(bytes, offset + 2);
}

void WriteBe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

AclFrame AclFrame::Request(std::uint16_t cmdID, std::uint16_t argument) {
    AclFrame frame;
    WriteBe16(frame.bytes, kAclPrefixOffset, ACL_PREFIX);
    WriteBe16(frame.bytes, kAclCmdIdOffset, cmdID);
    WriteBe16(frame.bytes, kAclArgumentOffset, argument);
    return frame;
}

}  // namespace fwup
