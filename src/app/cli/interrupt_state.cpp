#include "app/cli/interrupt_state.h"

#include <algorithm>

namespace fwup::cli {

InterruptState& TheInterruptState() {
    static InterruptState state;
    return state;
}

void InterruptibleClock::SleepMs(std::uint32_t ms) {
    // Slices short enough that an interrupt ends a wait without anyone noticing the delay; the
    // handlers may only store a flag, so nobody can wake a sleeper.
    constexpr std::uint32_t kSliceMs = 20;
    while (ms > 0 && !state_.CutsWaitsShort()) {
        const std::uint32_t slice = std::min(ms, kSliceMs);
        system_.SleepMs(slice);
        ms -= slice;
    }
    skippedMs_ += ms;
}

}  // namespace fwup::cli
