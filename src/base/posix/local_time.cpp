#include "base/local_time.h"

namespace fwup {

std::optional<std::tm> LocalCalendarTime(std::time_t t) {
    std::tm result{};
    if (localtime_r(&t, &result) == nullptr) {
        return std::nullopt;
    }
    return result;
}

}  // namespace fwup
