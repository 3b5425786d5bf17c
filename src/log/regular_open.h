#pragma once

namespace fwup {

// What the platform opens of the tool's own files (the log, the history, its lock) make of a
// name: only a regular file is ever used.
enum class RegularOpen {
    kOpened,
    kAbsent,   // no such file (and it was not to be made)
    kRefused,  // a link or reparse point, a FIFO, a device, a folder, or run as root another user's
    kFailed,   // anything else: permissions, a full table of descriptors, interrupted
};

}  // namespace fwup
