#pragma once

namespace fwup::cli {

// The read end of the pipe the signal handlers write a byte into (-1 before the handlers are
// installed). A wait that polls it with its own file cannot miss an interrupt that arrives
// after the wait checked the interrupt state and before it blocked: the byte stays there.
int InterruptWakeFd();

}  // namespace fwup::cli
