#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulation/scenario.h"
#include "protocol/security_layout.h"

namespace fwup {

// More than the host ever offers (512 on the retry), so a scenario can show the reply being cut.
inline constexpr std::size_t kMaxSecurityRecordBytes = 1024;

// The descrambling mask: the XOR of the check value's two bytes, or the fallback when they agree.
std::uint8_t SecurityMask(std::uint8_t checkLow, std::uint8_t checkHigh);

// The bytes the printer answers with. A built record carries a CRC-16/XMODEM over its
// descrambled block (plus one when `corruptCrc`), is scrambled with the mask that check value
// gives, and is then cut or zero-padded to the wanted length. A raw record is returned as given.
std::vector<std::uint8_t> BuildSecurityRecord(const SecuritySource& source, bool corruptCrc);

}  // namespace fwup
