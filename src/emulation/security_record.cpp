#include "emulation/security_record.h"

#include <array>
#include <span>

#include "protocol/crc16.h"

namespace fwup {
namespace {

using Record = std::array<std::uint8_t, kSecurityRecordSize>;

// Bytes 0-3 and the block behind the security byte mean nothing to the host; a varied filler makes
// sure a wrong mask or a CRC over the wrong bytes cannot pass by accident.
Record PlainRecord(std::uint8_t security) {
    Record record{};
    record[0] = 'V';
    record[1] = 'Z';
    record[2] = 0x01;
    record[3] = 0x00;
    record[kSecurityBlockOffset] = security;
    for (std::size_t i = kSecurityBlockOffset + 1; i < kSecurityRecordSize; ++i) {
        record[i] = static_cast<std::uint8_t>(0x5A + 29 * i);
    }
    return record;
}

std::uint16_t CheckValue(const Record& record, bool corruptCrc) {
    const std::uint16_t crc = Crc16Xmodem(
        std::span<const std::uint8_t>(record).subspan(kSecurityBlockOffset, kSecurityBlockSize));
    return static_cast<std::uint16_t>(corruptCrc ? crc + 1 : crc);
}

// The CRC of a block is a bijection of its last two bytes, so one of the 65536 endings gives a
// check value whose two bytes agree.
void MakeCheckBytesEqual(Record& record, bool corruptCrc) {
    constexpr std::size_t kLast = kSecurityRecordSize - 1;
    for (std::uint32_t ending = 0; ending <= 0xFFFF; ++ending) {
        record[kLast - 1] = static_cast<std::uint8_t>(ending >> 8);
        record[kLast] = static_cast<std::uint8_t>(ending & 0xFF);
        const std::uint16_t check = CheckValue(record, corruptCrc);
        if ((check & 0xFF) == (check >> 8)) {
            return;
        }
    }
}

}  // namespace

std::uint8_t SecurityMask(std::uint8_t checkLow, std::uint8_t checkHigh) {
    const std::uint8_t mask = static_cast<std::uint8_t>(checkLow ^ checkHigh);
    return mask == 0 ? kSecurityDefaultMask : mask;
}

std::vector<std::uint8_t> BuildSecurityRecord(const SecuritySource& source, bool corruptCrc) {
    if (source.raw) {
        return source.rawBytes;
    }
    Record record = PlainRecord(source.security);
    if (source.crcBytesEqual) {
        MakeCheckBytesEqual(record, corruptCrc);
    }
    const std::uint16_t check = CheckValue(record, corruptCrc);
    const auto low = static_cast<std::uint8_t>(check & 0xFF);
    const auto high = static_cast<std::uint8_t>(check >> 8);
    record[kSecurityCrcOffset] = low;
    record[kSecurityCrcOffset + 1] = high;
    const std::uint8_t mask = SecurityMask(low, high);
    for (std::size_t i = kSecurityBlockOffset; i < kSecurityRecordSize; ++i) {
        record[i] ^= mask;
    }
    std::vector<std::uint8_t> bytes(record.begin(), record.end());
    bytes.resize(source.length, 0);
    return bytes;
}

}  // namespace fwup
