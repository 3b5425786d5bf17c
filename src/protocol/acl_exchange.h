#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/channel.h"
#include "protocol/acl_frame.h"

namespace fwup {

// Size of the data area a length-prefixed reply is kept in.
inline constexpr std::size_t kAclReplyDataSize = 100;
using AclReplyData = std::array<std::uint8_t, kAclReplyDataSize>;

// Time bounds of a reply, in seconds of calendar time, tested between reads: a reply still
// incomplete after more than this ends the exchange (fixed read) or the attempt (prefixed read).
inline constexpr std::int64_t kReplyBoundSeconds = 60;

// Waits of the length-prefixed read.
inline constexpr std::uint32_t kWaitAfterJobMs = 500;
inline constexpr std::uint32_t kWaitAfterReadMs = 200;
// Attempts of the length-prefixed exchange, counted in nReSendNum.
inline constexpr int kMaxSendAttempts = 5;

// Writes one job: UEL, the language line, `frame` (header plus any text), UEL; each part with one
// WriteUSBDevice call that must report exactly its size written. Returns 1, or -9 (a UEL),
// -10 (the language line) or -11 (the frame) for the first write that failed or was short.
int SendAclCommand(Channel* channel, std::span<const std::uint8_t> frame);

// Sends `request` and reads a 16-byte reply into `reply`. Pieces are joined in order. Returns 1,
// -9/-10/-11 (job), -19 (a read failed), -20 (still incomplete after the time bound), -21 (the
// reply's prefix or cmdID does not match the request's). cmdStatus is not examined.
int ExchangeFixedReply(Channel* channel, const AclFrame& request, AclFrame& reply);

// Sends `frame` (header and text) and reads a reply header followed by N data bytes (N from
// header bytes 6-7). Up to five attempts, each sending the whole job again; write failures end
// it at once with -9/-10/-11. `data` receives the first 100 data bytes, zero beyond N; longer
// replies are read whole so the channel stays in step. Returns 1, or after the last attempt -1
// (the header failed) or -19 (the data failed).
int ExchangeLengthPrefixed(Channel* channel, std::span<const std::uint8_t> frame,
                           AclReplyData& data);

}  // namespace fwup
