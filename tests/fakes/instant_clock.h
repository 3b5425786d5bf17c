#pragma once

#include <cstdint>

#include "app/common/program_services.h"
#include "base/clock.h"

namespace fwup::testing {

// A clock whose sleeps return at once and only move its time forward. Installed as the active
// clock for the lifetime of the object.
class InstantClock final : public Clock {
  public:
    explicit InstantClock(std::int64_t startSeconds = 1'700'000'000)
        : nowMs_(startSeconds * 1000) {}
    InstantClock(const InstantClock&) = delete;
    InstantClock& operator=(const InstantClock&) = delete;

    std::int64_t NowSeconds() override { return nowMs_ / 1000; }
    CivilTime LocalTime(std::int64_t) override { return localTime_; }
    void SleepMs(std::uint32_t ms) override {
        nowMs_ += ms;
        sleptMs_ += ms;
    }

    std::int64_t MonotonicMs() override { return nowMs_; }

    void Advance(std::int64_t ms) { nowMs_ += ms; }
    void SetLocalTime(CivilTime time) { localTime_ = time; }
    std::int64_t nowMs() const { return nowMs_; }
    std::int64_t sleptMs() const { return sleptMs_; }

  private:
    std::int64_t nowMs_;
    std::int64_t sleptMs_ = 0;
    CivilTime localTime_{3, 9, 14, 5, 7};
    const InstalledServices installed_{{.clock = this}};
};

}  // namespace fwup::testing
