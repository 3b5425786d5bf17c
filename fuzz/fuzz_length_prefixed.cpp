// Feeds a fuzzed channel to ExchangeLengthPrefixed: a reply header whose bytes 6-7 announce any
// data length, delivered in fuzz-chosen pieces with failing and zero-byte reads, writes that fail
// or fall short, and time jumps, over up to five attempts. The exchange must end with one of its
// documented results.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzzed_channel.h"
#include "protocol/acl_exchange.h"
#include "protocol/acl_frame.h"
#include "protocol/printer_queries.h"
#include "recording_notice_output.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fwup::testing::InstantClock clock;
    fwup::testing::RecordingNoticeOutput notices;  // keeps the retry notice off stderr
    fwup::fuzz::FuzzedChannel channel(input, clock);

    // The request: the version query's header and text, or a header with fuzzed text of any
    // length the job accepts (and sometimes one it refuses).
    std::vector<std::uint8_t> frame;
    const fwup::AclFrame header = fwup::AclFrame::Request(
        fwup::ACLCMD_GET_FW_VERSION, static_cast<std::uint16_t>(fwup::kFwVersionRequestText.size()));
    frame.assign(header.bytes.begin(), header.bytes.end());
    const std::size_t textLength =
        input.ConsumeIntegralInRange<std::size_t>(0, fwup::kAclMaxTextBytes + 1);
    for (std::size_t i = 0; i < textLength; ++i) {
        frame.push_back(static_cast<std::uint8_t>(
            fwup::kFwVersionRequestText[i % fwup::kFwVersionRequestText.size()]));
    }

    fwup::AclReplyData reply;
    reply.fill(0xA5);
    const int result = fwup::ExchangeLengthPrefixed(&channel, frame, reply);
    switch (result) {
        case 1:
        case -1:
        case -9:
        case -10:
        case -11:
        case -19:
            break;
        default:
            std::abort();
    }
    return 0;
}
