#pragma once

#include <atomic>
#include <cstdint>

#include "base/clock.h"

namespace fwup::cli {

// Where the program stands with respect to an interrupt (Ctrl-C, SIGTERM, a console close). The
// signal side only stores into these atomics; the run reads them.
struct InterruptState {
    std::atomic<bool> requested{false};
    // From the moment the transfer is about to begin: an interrupt then no longer stops anything.
    std::atomic<bool> transferBegun{false};
    std::atomic<bool> transferEnded{false};
    // Set when the program has said what it will do; the console-close handler waits for it.
    std::atomic<bool> finished{false};

    // Waits may be cut short: before the transfer (the run ends at once) and after it (the
    // program ends once the transfer has ended), never during it.
    bool CutsWaitsShort() const {
        return requested.load() && (!transferBegun.load() || transferEnded.load());
    }
};

// The process-wide state the platform's handlers write into.
InterruptState& TheInterruptState();

// Installs the platform's handlers for Ctrl-C, termination requests and a console close.
void InstallInterruptHandlers();

// The machine's clock, except that once the interrupt state says so a wait ends at once and the
// clock moves on by the time it would have taken: a query that waits out a silent printer then
// reaches its time bound at once, gives up, and the run ends between its steps. (The clock runs
// ahead of the machine's only from then until the program ends.)
class InterruptibleClock final : public Clock {
  public:
    explicit InterruptibleClock(const InterruptState& state) : state_(state) {}
    std::int64_t NowSeconds() override { return system_.NowSeconds() + skippedMs_.load() / 1000; }
    CivilTime LocalTime(std::int64_t seconds) override { return system_.LocalTime(seconds); }
    std::int64_t MonotonicMs() override { return system_.MonotonicMs() + skippedMs_.load(); }
    void SleepMs(std::uint32_t ms) override;

  private:
    const InterruptState& state_;
    SystemClock system_;
    std::atomic<std::int64_t> skippedMs_{0};
};

}  // namespace fwup::cli
