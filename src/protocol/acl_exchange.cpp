#include "protocol/acl_exchange.h"

#include <algorithm>
#include <vector>

#include "base/clock.h"
#include "log/notice_output.h"
#include "protocol/result_codes.h"

namespace fwup {
namespace {

// A zero-byte read returns at once on some drivers; the pause keeps the 60-second bound from
// becoming a busy loop and lets every wait run on the clock seam.
constexpr std::uint32_t kZeroReadPauseMs = 10;

bool WriteWhole(Channel* channel, std::span<const std::uint8_t> bytes) {
    return WriteUSBDevice(channel, bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Reads exactly `dest.size()` bytes for the length-prefixed exchange: each read asks for what is
// still missing, every read that does not fail is followed by the 200 ms wait. False when a read
// fails or the attempt's time bound runs out first.
bool ReadWhole(Channel* channel, std::span<std::uint8_t> dest, std::int64_t attemptStart) {
    Clock& clock = ActiveClock();
    std::size_t received = 0;
    while (received < dest.size()) {
        const long count = ReadUSBDevice(channel, dest.data() + received, dest.size() - received);
        if (count < 0) {
            return false;
        }
        received += static_cast<std::size_t>(count);
        clock.SleepMs(kWaitAfterReadMs);
        if (received < dest.size() && clock.NowSeconds() - attemptStart > kReplyBoundSeconds) {
            return false;
        }
    }
    return true;
}

enum class AttemptResult { kOk, kHeaderFailed, kDataFailed };

AttemptResult ReadLengthPrefixedReply(Channel* channel, AclReplyData& data) {
    const std::int64_t attemptStart = ActiveClock().NowSeconds();
    AclFrame header;
    if (!ReadWhole(channel, header.bytes, attemptStart)) {
        return AttemptResult::kHeaderFailed;
    }
    const std::size_t length = header.dataLength();
    if (length == 0) {
        return AttemptResult::kOk;
    }
    // A reply longer than the data area is still read whole, or its tail would be taken for
    // the next reply; only the first bytes are kept.
    std::vector<std::uint8_t> received(length);
    if (!ReadWhole(channel, received, attemptStart)) {
        return AttemptResult::kDataFailed;
    }
    std::copy_n(received.begin(), std::min(length, data.size()), data.begin());
    return AttemptResult::kOk;
}

}  // namespace

int SendAclCommand(Channel* channel, std::span<const std::uint8_t> frame) {
    if (frame.size() < kAclFrameSize || frame.size() > kAclFrameSize + kAclMaxTextBytes) {
        return kErrWriteFrame;
    }
    if (!WriteWhole(channel, AsBytes(UEL))) {
        return kErrWriteUel;
    }
    if (!WriteWhole(channel, AsBytes(kAclLanguageLine))) {
        return kErrWriteLanguageLine;
    }
    if (!WriteWhole(channel, frame)) {
        return kErrWriteFrame;
    }
    if (!WriteWhole(channel, AsBytes(UEL))) {
        return kErrWriteUel;
    }
    return kResultOk;
}

int ExchangeFixedReply(Channel* channel, const AclFrame& request, AclFrame& reply) {
    const int sent = SendAclCommand(channel, request.bytes);
    if (sent != kResultOk) {
        return sent;
    }
    Clock& clock = ActiveClock();
    reply = AclFrame{};
    const std::int64_t start = clock.NowSeconds();
    std::size_t received = 0;
    while (received < kAclFrameSize) {
        const long count =
            ReadUSBDevice(channel, reply.bytes.data() + received, kAclFrameSize - received);
        if (count < 0) {
            return kErrReplyRead;
        }
        received += static_cast<std::size_t>(count);
        // The bound is tested before completeness: a reply completed by a late read still
        // counts as late.
        if (clock.NowSeconds() - start > kReplyBoundSeconds) {
            return kErrReplyTimeout;
        }
        if (count == 0) {
            clock.SleepMs(kZeroReadPauseMs);
        }
    }
    if (reply.prefix() != ACL_PREFIX || reply.cmdID() != request.cmdID()) {
        return kErrReplyMismatch;
    }
    return kResultOk;
}

int ExchangeLengthPrefixed(Channel* channel, std::span<const std::uint8_t> frame,
                           AclReplyData& data) {
    int nReSendNum = 0;
    for (;;) {
        data.fill(0);
        const int sent = SendAclCommand(channel, frame);
        if (sent != kResultOk) {
            return sent;
        }
        ActiveClock().SleepMs(kWaitAfterJobMs);
        const AttemptResult result = ReadLengthPrefixedReply(channel, data);
        if (result == AttemptResult::kOk) {
            return kResultOk;
        }
        ++nReSendNum;
        if (nReSendNum >= kMaxSendAttempts) {
            DebugOutput(L"nReSendNum == 5");
            data.fill(0);
            return result == AttemptResult::kHeaderFailed ? kErrReplyHeaderRead : kErrReplyRead;
        }
    }
}

}  // namespace fwup
