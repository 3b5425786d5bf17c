#include "protocol/printer_queries.h"
#include "protocol/result_codes.h"

namespace fwup {

int GetPrinterStatus(Channel* channel, std::int8_t& status) {
    const AclFrame request = AclFrame::Request(ACLCMD_GET_PRINTER_STATUS);
    AclFrame reply;
    const int result = ExchangeFixedReply(channel, request, reply);
    if (result != kResultOk) {
        return result;
    }
    status = reply.statusByte();
    return kResultOk;
}

}  // namespace fwup
