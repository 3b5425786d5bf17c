#include "protocol/acl_exchange.h"

#include <gtest/gtest.h>

#include "fakes/instant_clock.h"
#include "fakes/recording_notice_output.h"
#include "fakes/scripted_channel.h"
#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"
#include "wire_bytes.h"

namespace fwup {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::ReplyHeader;
using testing::ScriptedChannel;
using testing::VersionReply;

const std::vector<std::uint8_t> kUel = {0x1B, '%', '-', '1', '2', '3', '4', '5', 'X'};
const std::vector<std::uint8_t> kLanguageLine = Bytes("@PJL ENTER LANGUAGE=ACL\r\n");

std::vector<std::uint8_t> VersionFrame() {
    const AclFrame header = AclFrame::Request(ACLCMD_GET_FW_VERSION, 40);
    return Concat({{header.bytes.begin(), header.bytes.end()}, Bytes(kFwVersionRequestText)});
}

class AclExchangeTest : public ::testing::Test {
  protected:
    testing::InstantClock clock;
    testing::RecordingNoticeOutput notices;
    ScriptedChannel channel;
};

TEST_F(AclExchangeTest, StatusJobIsWrittenByteExactInFourWrites) {
    channel.QueueReply(ReplyHeader(0x00AC, 0xFF87, 0, 3));
    std::int8_t status = 0;
    ASSERT_EQ(GetPrinterStatus(&channel, status), kResultOk);
    EXPECT_EQ(status, 3);

    const std::vector<std::uint8_t> frame = {0x00, 0xAC, 0xFF, 0x87, 0, 0, 0, 0,
                                             0,    0,    0,    0,    0, 0, 0, 0};
    EXPECT_EQ(channel.written, Concat({kUel, kLanguageLine, frame, kUel}));
    EXPECT_EQ(channel.writeSizes, (std::vector<std::size_t>{9, 25, 16, 9}));
}

TEST_F(AclExchangeTest, VersionJobCarriesTheRequestTextWithoutTerminator) {
    channel.QueueReply(VersionReply("V1.0.08"));
    AclReplyData data{};
    ASSERT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kResultOk);

    const std::vector<std::uint8_t> header = {0x00, 0xAC, 0xFF, 0x21, 0x00, 0x28, 0, 0,
                                              0,    0,    0,    0,    0,    0,    0, 0};
    EXPECT_EQ(channel.written,
              Concat({kUel, kLanguageLine, header, Bytes(kFwVersionRequestText), kUel}));
    EXPECT_EQ(channel.writeSizes, (std::vector<std::size_t>{9, 25, 56, 9}));
    EXPECT_EQ(std::string(data.begin(), data.begin() + 8), std::string("V1.0.08\0", 8));
}

struct WriteFault {
    int failingWrite;  // 0: UEL, 1: language line, 2: frame, 3: closing UEL
    long result;       // -1 failed, or a short count
    int expected;
};

class SendAclCommandFaults : public AclExchangeTest,
                             public ::testing::WithParamInterface<WriteFault> {};

TEST_P(SendAclCommandFaults, FirstFailedOrShortWriteEndsTheJobWithItsCode) {
    const WriteFault fault = GetParam();
    for (int i = 0; i < fault.failingWrite; ++i) {
        channel.writeResults.push_back(1 << 20);  // whole
    }
    channel.writeResults.push_back(fault.result);
    const AclFrame frame = AclFrame::Request(ACLCMD_GET_PRINTER_STATUS);
    EXPECT_EQ(SendAclCommand(&channel, frame.bytes), fault.expected);
    EXPECT_EQ(channel.writeSizes.size(), static_cast<std::size_t>(fault.failingWrite + 1));
}

INSTANTIATE_TEST_SUITE_P(
    EveryWrite, SendAclCommandFaults,
    ::testing::Values(WriteFault{0, -1, kErrWriteUel}, WriteFault{0, 8, kErrWriteUel},
                      WriteFault{1, -1, kErrWriteLanguageLine},
                      WriteFault{1, 0, kErrWriteLanguageLine}, WriteFault{2, -1, kErrWriteFrame},
                      WriteFault{2, 15, kErrWriteFrame}, WriteFault{3, -1, kErrWriteUel},
                      WriteFault{3, 1, kErrWriteUel}));

TEST_F(AclExchangeTest, NoChannelFailsTheFirstWrite) {
    const AclFrame frame = AclFrame::Request(ACLCMD_GET_PRINTER_STATUS);
    EXPECT_EQ(SendAclCommand(nullptr, frame.bytes), kErrWriteUel);
}

TEST_F(AclExchangeTest, FixedReplyInPiecesIsJoinedInOrderWhateverItsStatusWord) {
    const std::vector<std::uint8_t> reply = ReplyHeader(0x00AC, 0xFF87, 0xBEEF, 0x12, 0x34);
    channel.reads.push_back({0, {reply.begin(), reply.begin() + 3}});
    channel.reads.push_back({0, {}});
    channel.reads.push_back({0, {reply.begin() + 3, reply.begin() + 10}});
    channel.reads.push_back({0, {reply.begin() + 10, reply.end()}});
    AclFrame got;
    ASSERT_EQ(ExchangeFixedReply(&channel, AclFrame::Request(ACLCMD_GET_PRINTER_STATUS), got),
              kResultOk);
    EXPECT_EQ(std::vector<std::uint8_t>(got.bytes.begin(), got.bytes.end()), reply);
    // Each read asks only for what is still missing.
    EXPECT_EQ(channel.readSizes, (std::vector<std::size_t>{16, 13, 13, 6}));
}

struct FixedReplyCase {
    const char* name;
    std::uint16_t prefix;
    std::uint16_t cmdID;
    int expected;
};

class FixedReplyValidation : public AclExchangeTest,
                             public ::testing::WithParamInterface<FixedReplyCase> {};

TEST_P(FixedReplyValidation, PrefixAndCommandAreChecked) {
    channel.QueueReply(ReplyHeader(GetParam().prefix, GetParam().cmdID, 0, 0));
    AclFrame reply;
    EXPECT_EQ(ExchangeFixedReply(&channel, AclFrame::Request(ACLCMD_GET_PRINTER_STATUS), reply),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FixedReplyValidation,
    ::testing::Values(FixedReplyCase{"matching", 0x00AC, 0xFF87, kResultOk},
                      FixedReplyCase{"otherCommand", 0x00AC, 0xFF21, kErrReplyMismatch},
                      FixedReplyCase{"wrongPrefix", 0xAC00, 0xFF87, kErrReplyMismatch},
                      FixedReplyCase{"zeroes", 0x0000, 0x0000, kErrReplyMismatch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AclExchangeTest, FixedReplyReadFailureIsReported) {
    channel.reads.push_back({0, {0x00, 0xAC}});
    channel.QueueFailedRead();
    AclFrame reply;
    EXPECT_EQ(ExchangeFixedReply(&channel, AclFrame::Request(ACLCMD_GET_PRINTER_STATUS), reply),
              kErrReplyRead);
}

TEST_F(AclExchangeTest, SilentPrinterEndsTheFixedReadAfterSixtySeconds) {
    channel.reads.push_back({0, {0x00, 0xAC, 0xFF}});
    AclFrame reply;
    EXPECT_EQ(ExchangeFixedReply(&channel, AclFrame::Request(ACLCMD_GET_PRINTER_STATUS), reply),
              kErrReplyTimeout);
    EXPECT_GE(clock.nowMs() - 1'700'000'000'000, 60'000);
    EXPECT_LE(clock.nowMs() - 1'700'000'000'000, 62'000);
}

TEST_F(AclExchangeTest, ReplyCompletedByALateReadStillTimesOut) {
    const std::vector<std::uint8_t> reply = ReplyHeader(0x00AC, 0xFF87, 0, 0);
    channel.reads.push_back({0, {reply.begin(), reply.begin() + 8}});
    channel.reads.push_back({0, {reply.begin() + 8, reply.end()}});
    int reads = 0;
    channel.onRead = [&] {
        if (++reads == 2) {
            clock.Advance(61'000);  // the second read blocks past the bound
        }
    };
    AclFrame got;
    EXPECT_EQ(ExchangeFixedReply(&channel, AclFrame::Request(ACLCMD_GET_PRINTER_STATUS), got),
              kErrReplyTimeout);
}

TEST_F(AclExchangeTest, EmptyLengthPrefixedReplyIsASuccessWithAClearDataArea) {
    channel.QueueReply(ReplyHeader(0x00AC, 0xFF21, 0, 0, 0));
    AclReplyData data;
    data.fill(0x55);
    ASSERT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kResultOk);
    EXPECT_EQ(data, AclReplyData{});
}

TEST_F(AclExchangeTest, LengthPrefixedReadWaitsAfterTheJobAndAfterEachRead) {
    const std::vector<std::uint8_t> reply = VersionReply("V1.0.09");
    channel.reads.push_back({0, {reply.begin(), reply.begin() + 16}});
    channel.reads.push_back({0, {reply.begin() + 16, reply.end()}});
    AclReplyData data{};
    ASSERT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kResultOk);
    EXPECT_EQ(clock.sleptMs(), 500 + 200 + 200);
}

TEST_F(AclExchangeTest, FourFailedAttemptsThenAGoodFifthSucceeds) {
    for (int i = 0; i < 4; ++i) {
        channel.QueueFailedRead();
    }
    channel.QueueReply(VersionReply("V1.0.08"));
    AclReplyData data{};
    ASSERT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kResultOk);
    EXPECT_EQ(channel.written.size(), 5u * (9 + 25 + 56 + 9));
    EXPECT_TRUE(notices.lines.empty());
}

TEST_F(AclExchangeTest, FiveHeaderFailuresEndWithMinusOneAndTheDebugLine) {
    for (int i = 0; i < 5; ++i) {
        channel.QueueFailedRead();
    }
    AclReplyData data{};
    EXPECT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kErrReplyHeaderRead);
    EXPECT_EQ(channel.written.size(), 5u * (9 + 25 + 56 + 9));
    EXPECT_EQ(notices.lines, std::vector<std::wstring>{L"nReSendNum == 5"});
}

TEST_F(AclExchangeTest, HeaderAndDataFailuresCountTogether) {
    const std::vector<std::uint8_t> header = ReplyHeader(0x00AC, 0xFF21, 0, 0, 7);
    for (int i = 0; i < 2; ++i) {
        channel.QueueFailedRead();
    }
    for (int i = 0; i < 3; ++i) {
        channel.QueueReply(header);
        channel.QueueFailedRead();
    }
    AclReplyData data{};
    EXPECT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kErrReplyRead);
    EXPECT_EQ(channel.written.size(), 5u * (9 + 25 + 56 + 9));
    EXPECT_EQ(notices.lines.size(), 1u);
}

TEST_F(AclExchangeTest, WriteFailureOfALaterAttemptIsNotRetried) {
    channel.QueueFailedRead();
    channel.writeResults = {9, 25, 56, 9, 9, -1};
    AclReplyData data{};
    EXPECT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kErrWriteLanguageLine);
    EXPECT_EQ(channel.writeSizes.size(), 6u);
}

TEST_F(AclExchangeTest, OversizedReplyKeepsTheFirstHundredBytesAndStaysInStep) {
    std::string longText(300, 'x');
    longText.replace(0, 7, "V1.0.08");
    channel.QueueReply(VersionReply(longText));
    channel.QueueReply(ReplyHeader(0x00AC, 0xFF87, 0, 4));
    AclReplyData data{};
    ASSERT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kResultOk);
    EXPECT_EQ(std::string(data.begin(), data.end()), longText.substr(0, 100));
    // The next exchange reads its own reply, not the tail of the long one.
    std::int8_t status = 0;
    ASSERT_EQ(GetPrinterStatus(&channel, status), kResultOk);
    EXPECT_EQ(status, 4);
}

TEST_F(AclExchangeTest, SilentReplyEndsEachAttemptAfterSixtySeconds) {
    AclReplyData data{};
    EXPECT_EQ(ExchangeLengthPrefixed(&channel, VersionFrame(), data), kErrReplyHeaderRead);
    EXPECT_EQ(channel.written.size(), 5u * (9 + 25 + 56 + 9));
    const std::int64_t elapsed = clock.nowMs() - 1'700'000'000'000;
    EXPECT_GE(elapsed, 5 * 60'000);
    EXPECT_LE(elapsed, 5 * 63'000);
}

}  // namespace
}  // namespace fwup
