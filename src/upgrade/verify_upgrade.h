#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/discovery.h"
#include "upgrade/printer_lock.h"
#include "upgrade/stop_check.h"

namespace fwup {

// How long the window waits for a flashed printer to come back before it says that the printer
// may still be flashing.
inline constexpr std::uint32_t kFollowTimeoutSeconds = 600;

struct VerifyOutcome {
    bool cameBack = false;     // gone and back, then its version was read
    bool versionRead = false;  // some version was read, back or not
    int versionVerdict = 0;    // QueryFwVersion's last result, when one was read
    bool interrupted = false;  // `stop` ended the wait
    bool ambiguous = false;    // two attached printers had the flashed printer's instance ID
    std::string versionText;   // the version text last read, up to its first zero
};

// Told while the wait goes on, at least once a second: how long it has waited so far.
using VerifyWaiting = std::function<void(std::int64_t waitedMs)>;

// After a transfer: waits for the printer flashed as `flashed` to come back, answer the status
// query with a ready state and have its firmware version read, polling every few seconds for at
// most `timeoutSeconds` (clock seam). A printer flashing its firmware leaves the bus and comes
// back, on Linux under a new interface path; it may stay listed on its old firmware for a while
// after the last byte, so a version read before it has gone away (seen absent once, or listed
// under another path than `flashed`'s) is no verdict. The printer is found by its instance ID and
// the opens are pinned to the path it is listed under then; two attached printers with that
// instance ID end the wait at once, unverified. A printer back on another version ends it at
// once too, and so does `stop` (asked at least every tenth of a second, and before every
// question to the printer). A printer that reads the package's version although it read
// another one before the transfer (`versionBefore`, QueryFwVersion's verdict then) has been
// flashed whether or not it was seen away: on Windows it comes back under the same path, and may
// be back before the wait begins.
//
// `held` is the lock the run took on the printer (null when none was taken). A printer that comes
// back where that lock no longer guards it (on Linux, a new USB device node) is locked again
// before it is read; while another run holds it, or its lock cannot be taken, it is not read.
VerifyOutcome VerifyUpgrade(const DeviceEntry& flashed, const PrinterLock* held,
                            std::optional<int> versionBefore, std::uint32_t timeoutSeconds,
                            const StopCheck& stop, const VerifyWaiting& waiting = {});

}  // namespace fwup
