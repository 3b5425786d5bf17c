#include "emulation/sim_replies.h"

#include <algorithm>
#include <span>

#include "protocol/acl_frame.h"

namespace fwup {
namespace {

std::vector<std::uint8_t> ReplyHeader(const SimFaults& faults, std::uint16_t cmdID) {
    std::vector<std::uint8_t> reply(kAclFrameSize, 0);
    const std::span<std::uint8_t> header(reply);
    WriteBe16(header, kAclPrefixOffset, faults.replyPrefix.value_or(ACL_PREFIX));
    WriteBe16(header, kAclCmdIdOffset, faults.replyCmdId.value_or(cmdID));
    WriteBe16(header, kAclArgumentOffset, faults.replyCmdStatus);
    return reply;
}

}  // namespace

std::vector<std::uint8_t> BuildStatusReply(const PrinterScenario& printer) {
    std::vector<std::uint8_t> reply = ReplyHeader(printer.faults, ACLCMD_GET_PRINTER_STATUS);
    reply[kAclDataOffset] = printer.status;
    return reply;
}

std::vector<std::uint8_t> BuildVersionReply(const PrinterScenario& printer) {
    std::vector<std::uint8_t> reply = ReplyHeader(printer.faults, ACLCMD_GET_FW_VERSION);
    // The scenario parser keeps the text within what a 16-bit length can announce.
    const auto textLength = static_cast<std::uint16_t>(printer.version.size());
    const std::uint16_t length = printer.faults.versionLength.value_or(textLength);
    WriteBe16(reply, kAclDataOffset, length);
    if (printer.faults.versionDataWithheld) {
        return reply;
    }
    const std::size_t copied = std::min<std::size_t>(length, printer.version.size());
    reply.insert(reply.end(), printer.version.begin(), printer.version.begin() + copied);
    reply.resize(kAclFrameSize + length, 0);
    return reply;
}

}  // namespace fwup
