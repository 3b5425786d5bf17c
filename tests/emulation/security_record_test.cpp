#include "emulation/security_record.h"

#include <gtest/gtest.h>

#include <span>
#include <tuple>

#include "protocol/crc16.h"

namespace fwup {
namespace {

struct Descrambled {
    std::uint16_t check = 0;
    std::uint8_t mask = 0;
    std::vector<std::uint8_t> block;
};

// The host's reading of the record, written out here so the model is checked against the rule
// rather than against itself.
Descrambled Descramble(const std::vector<std::uint8_t>& record) {
    Descrambled out;
    out.check = static_cast<std::uint16_t>(record[4] | (record[5] << 8));
    out.mask = record[4] == record[5] ? 0xD4 : static_cast<std::uint8_t>(record[4] ^ record[5]);
    for (std::size_t i = 6; i < 172; ++i) {
        out.block.push_back(static_cast<std::uint8_t>(record[i] ^ out.mask));
    }
    return out;
}

class BuiltRecord : public ::testing::TestWithParam<std::tuple<int, bool, bool>> {};

TEST_P(BuiltRecord, CarriesTheSecurityByteUnderTheCheckValueItsMaskComesFrom) {
    SecuritySource source;
    source.security = static_cast<std::uint8_t>(std::get<0>(GetParam()));
    source.crcBytesEqual = std::get<1>(GetParam());
    const bool badCrc = std::get<2>(GetParam());
    const std::vector<std::uint8_t> record = BuildSecurityRecord(source, badCrc);
    ASSERT_EQ(record.size(), 172u);

    const Descrambled plain = Descramble(record);
    EXPECT_EQ(plain.check, static_cast<std::uint16_t>(Crc16Xmodem(plain.block) + (badCrc ? 1 : 0)));
    EXPECT_EQ(plain.block[0], source.security);
    if (source.crcBytesEqual) {
        EXPECT_EQ(record[4], record[5]);
        EXPECT_EQ(plain.mask, 0xD4);
    } else {
        EXPECT_NE(record[4], record[5]);
    }
    // The block really is scrambled, so a reader that forgets the mask fails.
    EXPECT_NE(record[6], source.security);
}

INSTANTIATE_TEST_SUITE_P(SecurityBytes, BuiltRecord,
                         ::testing::Combine(::testing::Values(0x00, 0x20, 0xFF), ::testing::Bool(),
                                            ::testing::Bool()));

}  // namespace
}  // namespace fwup
