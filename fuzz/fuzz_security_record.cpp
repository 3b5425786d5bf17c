// Feeds any bytes, as the printer's vendor request may return them, to ExamineSecurityRecord
// (descrambling and the check value), and a whole protected block to CalcCrc16.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/printer_queries.h"
#include "protocol/security_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> record(data, size);
    const fwup::SecurityCheck first = fwup::ExamineSecurityRecord(record);
    const fwup::SecurityCheck again = fwup::ExamineSecurityRecord(record);
    if (first.crcValid != again.crcValid || first.crcCalc != again.crcCalc ||
        first.security != again.security) {
        std::abort();  // the record is examined without keeping state
    }
    if (size >= fwup::kSecurityBlockSize) {
        (void)fwup::CalcCrc16(record.first<fwup::kSecurityBlockSize>());
    }
    return 0;
}
