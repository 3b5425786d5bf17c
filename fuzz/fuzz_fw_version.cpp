// Feeds the data area of a version reply (100 bytes; a short input is padded with zeroes as the
// exchange leaves them) to ClassifyFwVersion, which must answer 1, 3 or 4.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "protocol/acl_exchange.h"
#include "protocol/printer_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fwup::AclReplyData text{};
    std::copy_n(data, std::min(size, text.size()), text.begin());
    const int result = fwup::ClassifyFwVersion(text);
    if (result != 1 && result != 3 && result != 4) {
        std::abort();
    }
    return 0;
}
