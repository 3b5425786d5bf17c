#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fwup {

// Vendor request of the security record: request code 0xCA, request value 0.
inline constexpr std::array<std::uint8_t, 3> kSecurityRequest = {0xCA, 0x00, 0x00};

// Layout of the security record the printer answers with.
inline constexpr std::size_t kSecurityCrcOffset = 4;  // little-endian CRC, also the mask source
inline constexpr std::size_t kSecurityBlockOffset = 6;
inline constexpr std::size_t kSecurityBlockSize = 166;
inline constexpr std::size_t kSecurityRecordSize = kSecurityBlockOffset + kSecurityBlockSize;
// The descrambling mask when the two CRC bytes are equal (their XOR would be 0).
inline constexpr std::uint8_t kSecurityDefaultMask = 0xD4;
// Bit of the descrambled security byte that asks for encrypted firmware.
inline constexpr std::uint8_t kSecurityEncryptedBit = 0x20;

}  // namespace fwup
