// Feeds a fuzzed channel to ExchangeFixedReply: the 16-byte reply arrives in fuzz-chosen pieces,
// with failing and zero-byte reads, writes that fail or fall short, and time jumps. The exchange
// must end with one of its documented results, and a success must carry the request's prefix
// and command.
#include <cstdint>
#include <cstdlib>

#include "fuzzed_channel.h"
#include "protocol/acl_exchange.h"
#include "protocol/acl_frame.h"
#include "protocol/result_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fwup::testing::InstantClock clock;
    fwup::fuzz::FuzzedChannel channel(input, clock);

    const std::uint16_t cmdID = input.ConsumeBool() ? fwup::ACLCMD_GET_PRINTER_STATUS
                                                    : input.ConsumeIntegral<std::uint16_t>();
    const fwup::AclFrame request = fwup::AclFrame::Request(cmdID);
    fwup::AclFrame reply;
    const int result = fwup::ExchangeFixedReply(&channel, request, reply);
    switch (result) {
        case 1:
            if (reply.prefix() != fwup::ACL_PREFIX || reply.cmdID() != cmdID) {
                std::abort();
            }
            break;
        case -9:
        case -10:
        case -11:
        case -19:
        case -20:
        case -21:
            break;
        default:
            std::abort();
    }
    return 0;
}
