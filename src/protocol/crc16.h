#pragma once

#include <cstdint>
#include <span>

namespace fwup {

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final XOR.
std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes);

}  // namespace fwup
