#pragma once

#include <ctime>
#include <optional>

namespace fwup {

// `t` broken down in the user's local time zone, into storage of the caller's own, so threads
// never share a result; none when the platform cannot convert it. Defined per platform.
std::optional<std::tm> LocalCalendarTime(std::time_t t);

}  // namespace fwup
