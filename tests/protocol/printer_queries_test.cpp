#include "protocol/printer_queries.h"

#include <gtest/gtest.h>

#include "fakes/fake_interface_source.h"
#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/temp_log_dir.h"
#include "protocol/crc16.h"
#include "protocol/result_codes.h"
#include "wire_bytes.h"

namespace fwup {
namespace {

using testing::FakeInterfaceSource;
using testing::ReplyHeader;
using testing::ScriptedChannel;
using testing::VersionReply;

TEST(Crc16, MatchesTheXmodemCheckValue) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16Xmodem({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}),
              0x31C3);
    const std::array<std::uint8_t, kSecurityBlockSize> zeros{};
    EXPECT_EQ(CalcCrc16(zeros), 0x0000);
}

struct VersionCase {
    const char* text;
    int expected;
};

class VersionClassification : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionClassification, ComparesCharactersFourAndSixWithThePackage) {
    AclReplyData data{};
    const std::string text = GetParam().text;
    std::copy(text.begin(), text.end(), data.begin());
    EXPECT_EQ(ClassifyFwVersion(data), GetParam().expected) << text;
}

INSTANTIATE_TEST_SUITE_P(Replies, VersionClassification,
                         ::testing::Values(VersionCase{"V1.00.9", kVersionSame},
                                           VersionCase{"V1.00.8", kVersionLower},
                                           VersionCase{"V1.01.0", kVersionHigher},
                                           VersionCase{"V1.09.9", kVersionHigher},
                                           // 'A' & 0xCF = 0x41 > 9
                                           VersionCase{"V1.00.A", kVersionHigher},
                                           // '0' - 1 at position 4: negative, compares as higher
                                           VersionCase{"V1.0/.0", kVersionHigher},
                                           // nothing came back: position 4 is NUL, far below '0'
                                           VersionCase{"", kVersionHigher}));

class PrinterQueryTest : public ::testing::Test {
  protected:
    testing::InstantClock clock;
    testing::RecordingNoticeOutput notices;
    testing::TempLogDir log;
    FakeInterfaceSource source;
};

TEST_F(PrinterQueryTest, VersionQueryOpensAndClosesItsOwnChannel) {
    source.AddPrinter(1);
    ScriptedChannel& second = source.AddPrinter(2);
    second.QueueReply(VersionReply("V1.00.8 2024"));
    EXPECT_EQ(QueryFwVersion(L"USB002"), kVersionLower);
    EXPECT_EQ(second.closeCount, 1);
    EXPECT_EQ(source.interfaces[0].channel->written.size(), 0u);
}

TEST_F(PrinterQueryTest, VersionQueryReportsExchangeFailuresAndClosesTheChannel) {
    ScriptedChannel& channel = source.AddPrinter(1);
    for (int i = 0; i < 5; ++i) {
        channel.QueueFailedRead();
    }
    EXPECT_EQ(QueryFwVersion(L"USB001"), kErrReplyHeaderRead);
    EXPECT_EQ(channel.closeCount, 1);
    EXPECT_EQ(QueryFwVersion(L"USB009"), kErrOpenChannel);
    EXPECT_TRUE(log.Messages().empty());
}

// A security record as the printer sends it: check value little-endian at 4-5, the protected
// block scrambled with the mask the check value gives.
std::vector<std::uint8_t> SecurityRecord(std::uint8_t security, std::size_t length = 255,
                                         bool corrupt = false) {
    std::array<std::uint8_t, kSecurityBlockSize> block{};
    block[0] = security;
    for (std::size_t i = 1; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i * 7);
    }
    const std::uint16_t crc = Crc16Xmodem(block);
    std::vector<std::uint8_t> record(length, 0);
    record[0] = 0x11;
    record[4] = static_cast<std::uint8_t>(crc & 0xFF);
    record[5] = static_cast<std::uint8_t>(crc >> 8);
    const std::uint8_t mask = record[4] != record[5] ? record[4] ^ record[5] : 0xD4;
    for (std::size_t i = 0; i < block.size() && 6 + i < length; ++i) {
        record[6 + i] = block[i] ^ mask;
    }
    if (corrupt) {
        record[100] ^= 0x01;
    }
    return record;
}

VendorReply Returned(std::size_t count) {
    return VendorReply{true, count, kErrorSuccess};
}

std::string CheckValueText(const std::vector<std::uint8_t>& record) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", record[4] | (record[5] << 8));
    return text;
}

TEST_F(PrinterQueryTest, SecurityRecordSetsAndClearsTheEncryptionFlag) {
    ScriptedChannel& channel = source.AddPrinter(1);
    channel.vendorReplies.push_back({Returned(255), SecurityRecord(0x20)});
    channel.vendorReplies.push_back({Returned(255), SecurityRecord(0x00)});
    bFwEncrypted = false;

    EXPECT_EQ(QuerySecurity(L"USB001"), kSecurityCrcValid);
    EXPECT_TRUE(bFwEncrypted);
    EXPECT_EQ(QuerySecurity(L"USB001"), kSecurityCrcValid);
    EXPECT_FALSE(bFwEncrypted);

    EXPECT_EQ(channel.vendorInputs[0], (std::vector<std::uint8_t>{0xCA, 0x00, 0x00}));
    EXPECT_EQ(channel.vendorOfferedSizes, (std::vector<std::size_t>{255, 255}));
    EXPECT_EQ(channel.closeCount, 2);
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{
                  "CRC is valid, crcCalc: 0x" + CheckValueText(SecurityRecord(0x20)),
                  "response.security: 0x20", "FW is encrypted",
                  "CRC is valid, crcCalc: 0x" + CheckValueText(SecurityRecord(0x00)),
                  "response.security: 0x0", "FW is not encrypted"}));
}

TEST_F(PrinterQueryTest, InvalidCheckValueKeepsTheFlag) {
    ScriptedChannel& channel = source.AddPrinter(1);
    channel.vendorReplies.push_back({Returned(255), SecurityRecord(0x00, 255, true)});
    bFwEncrypted = true;
    EXPECT_EQ(QuerySecurity(L"USB001"), kSecurityCrcInvalid);
    EXPECT_TRUE(bFwEncrypted);
    EXPECT_EQ(log.Messages(), std::vector<std::string>{"CRC is invalid"});
    EXPECT_EQ(channel.closeCount, 1);
    bFwEncrypted = false;
}

TEST(SecurityRecord, MissingBytesReadAsZeroBeforeDescrambling) {
    // A whole record checks; the same record cut short does not, since its missing bytes read
    // as zero and descramble to the mask.
    EXPECT_TRUE(ExamineSecurityRecord(SecurityRecord(0x20, 172)).crcValid);
    const SecurityCheck cut = ExamineSecurityRecord(SecurityRecord(0x20, 100));
    EXPECT_FALSE(cut.crcValid);
    EXPECT_EQ(cut.security, 0x20);
}

TEST(SecurityRecord, EqualCheckValueBytesUseTheDefaultMask) {
    // Find a block whose check value has two equal bytes, so the mask falls back to 0xD4.
    std::array<std::uint8_t, kSecurityBlockSize> block{};
    std::uint16_t crc = 0;
    for (unsigned seed = 0; seed < 65536; ++seed) {
        block[1] = static_cast<std::uint8_t>(seed);
        block[2] = static_cast<std::uint8_t>(seed >> 8);
        crc = Crc16Xmodem(block);
        if ((crc & 0xFF) == (crc >> 8)) {
            break;
        }
    }
    ASSERT_EQ(crc & 0xFF, crc >> 8);
    std::vector<std::uint8_t> record(172, 0);
    record[4] = record[5] = static_cast<std::uint8_t>(crc);
    for (std::size_t i = 0; i < block.size(); ++i) {
        record[6 + i] = block[i] ^ 0xD4;
    }
    EXPECT_TRUE(ExamineSecurityRecord(record).crcValid);
    // The same record scrambled with the XOR of the two bytes (0) would not check.
    for (std::size_t i = 0; i < block.size(); ++i) {
        record[6 + i] = block[i];
    }
    EXPECT_FALSE(ExamineSecurityRecord(record).crcValid);
}

struct VendorRetryCase {
    const char* name;
    std::uint32_t firstError;
    bool retried;
    int expected;
};

class SecurityVendorRetry : public PrinterQueryTest,
                            public ::testing::WithParamInterface<VendorRetryCase> {};

TEST_P(SecurityVendorRetry, OnlyABufferTooSmallIsAskedAgainWithRoomFor512Bytes) {
    ScriptedChannel& channel = source.AddPrinter(1);
    channel.vendorReplies.push_back({VendorReply{false, 0, GetParam().firstError}, {}});
    channel.vendorReplies.push_back({Returned(300), SecurityRecord(0x20, 300)});
    bFwEncrypted = false;
    EXPECT_EQ(QuerySecurity(L"USB001"), GetParam().expected);
    const std::vector<std::size_t> offered =
        GetParam().retried ? std::vector<std::size_t>{255, 512} : std::vector<std::size_t>{255};
    EXPECT_EQ(channel.vendorOfferedSizes, offered);
    if (!GetParam().retried) {
        EXPECT_TRUE(log.Messages().empty());
    }
    bFwEncrypted = false;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SecurityVendorRetry,
    ::testing::Values(VendorRetryCase{"insufficientBuffer", 122, true, kSecurityCrcValid},
                      VendorRetryCase{"moreData", 234, true, kSecurityCrcValid},
                      VendorRetryCase{"generalFailure", 31, false, kSecurityNoReply}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrinterQueryTest, SecurityQueryWithoutAChannelOrAReply) {
    EXPECT_EQ(QuerySecurity(L"USB001"), kErrOpenChannel);
    ScriptedChannel& channel = source.AddPrinter(1);
    channel.vendorReplies.push_back({Returned(0), {}});
    EXPECT_EQ(QuerySecurity(L"USB001"), kSecurityNoReply);
    EXPECT_EQ(channel.closeCount, 1);
    EXPECT_TRUE(log.Messages().empty());
}

}  // namespace
}  // namespace fwup
