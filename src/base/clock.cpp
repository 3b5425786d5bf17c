#include "base/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace fwup {
namespace {

std::atomic<Clock*> installedClock{nullptr};

}  // namespace

std::int64_t SystemClock::NowSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

CivilTime SystemClock::LocalTime(std::int64_t seconds) {
    // std::localtime shares one result buffer across the process; the mutex keeps two threads
    // from reading each other's result.
    static std::mutex localTimeMutex;
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::lock_guard<std::mutex> lock(localTimeMutex);
    const std::tm* tm = std::localtime(&t);
    if (tm == nullptr) {
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
    Clock* clock = installedClock.load();
    return clock != nullptr ? *clock : systemClock;
}

void SetActiveClock(Clock* clock) {
    installedClock.store(clock);
}

}  // namespace fwup
