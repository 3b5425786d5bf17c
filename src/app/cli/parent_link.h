#pragma once

namespace fwup::cli {

// For a run started by another copy of this program (--parallel, watch): a thread reads standard
// input, and the line "interrupt", the end of the input or a failed read requests an interrupt
// as Ctrl-C would. The parent closing the pipe, or dying, so stops whatever had not begun. The
// thread is left to end with the program.
void FollowParentInterrupts();

// Requests an interrupt as the platform's handlers do, from any thread.
void RequestInterrupt();

}  // namespace fwup::cli
