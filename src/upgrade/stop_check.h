#pragma once

#include <functional>

namespace fwup {

// Asked, on the caller's thread, by a step that waits on something outside the program (the
// system bus): true means the run is to end, and the wait gives up at once. Empty: never.
using StopCheck = std::function<bool()>;

inline bool Stopped(const StopCheck& stopped) {
    return stopped && stopped();
}

}  // namespace fwup
