// The run history's line reader over any bytes (a history file is the user's to damage): it
// never crashes, and a line it takes for a record writes back as a line that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "upgrade/run_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::optional<fwup::RunRecord> record = fwup::ParseRunRecordLine(line);
    if (!record) {
        return 0;
    }
    std::string written = fwup::RunRecordLine(*record);
    if (written.empty() || written.back() != '\n' || written.find('\n') != written.size() - 1) {
        std::abort();
    }
    written.pop_back();
    if (fwup::ParseRunRecordLine(written) != record) {
        std::abort();
    }
    return 0;
}
