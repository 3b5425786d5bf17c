#pragma once

#include <cstdint>

namespace fwup {

// Broken-down local time, as far as the tool log's time stamp needs it.
struct CivilTime {
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Every wait and every time bound of the core goes through this seam, so tests can run a
// 60-second time-out in microseconds.
class Clock {
  public:
    virtual ~Clock() = default;
    // Calendar time in whole seconds since the epoch.
    virtual std::int64_t NowSeconds() = 0;
    // The calendar time `seconds` in the user's local time zone.
    virtual CivilTime LocalTime(std::int64_t seconds) = 0;
    // Blocks the calling thread for `ms` milliseconds (an instant clock only advances).
    virtual void SleepMs(std::uint32_t ms) = 0;
    // Milliseconds from an arbitrary start on a clock that never goes back, for pacing.
    virtual std::int64_t MonotonicMs() = 0;
};

// The wall clock of the machine.
class SystemClock final : public Clock {
  public:
    std::int64_t NowSeconds() override;
    CivilTime LocalTime(std::int64_t seconds) override;
    void SleepMs(std::uint32_t ms) override;
    std::int64_t MonotonicMs() override;
};

// The clock the core uses. Defaults to a SystemClock; installing nullptr restores it. Install
// before any worker thread starts; the clock installed before is returned.
Clock& ActiveClock();
Clock* SetActiveClock(Clock* clock);

}  // namespace fwup
