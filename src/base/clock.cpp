#include "base/clock.h"

#include "base/local_time.h"
#include "base/process_slot.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace fwup {
namespace {

ServiceSlot<Clock> installedClock;

}  // namespace

std::int64_t SystemClock::NowSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

CivilTime SystemClock::LocalTime(std::int64_t seconds) {
    const std::optional<std::tm> tm = LocalCalendarTime(static_cast<std::time_t>(seconds));
    if (!tm) {
        return CivilTime{};
    }
    return CivilTime{tm->tm_mon + 1, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec};
}

void SystemClock::SleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t SystemClock::MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Clock& ActiveClock() {
    static SystemClock systemClock;
    return installedClock.Or(systemClock);
}

Clock* SetActiveClock(Clock* clock) {
    return installedClock.Exchange(clock);
}

}  // namespace fwup
