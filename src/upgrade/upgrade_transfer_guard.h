#pragma once

#include <functional>
#include <memory>

#include "upgrade/stop_check.h"

namespace fwup {

class SessionEndHolder;

// Held while the firmware package is being written: the machine must not go to sleep and the
// session must not end, or the printer is left with half a package. Released when destroyed, on
// the thread that made it.
class TransferGuard {
  public:
    virtual ~TransferGuard() = default;
};

// The platform's guard (defined in the platform folder). `sessionEnd` is the main window, for
// platforms that tie a shutdown block to a window; may be null. Never fails: where the platform
// offers nothing, the guard does nothing. A platform that asks a service for the guard (logind)
// gives up waiting for it, unguarded, once `stopped` says so.
std::unique_ptr<TransferGuard> MakeHostTransferGuard(SessionEndHolder* sessionEnd,
                                                     const StopCheck& stopped = {});

// What the upgrade run holds during a transfer. No maker is installed by default, so tests and
// tools never touch the session; the programs install the host's. Install before any worker
// thread starts; an empty function restores the default. The maker installed before is returned.
using TransferGuardMaker = std::function<std::unique_ptr<TransferGuard>(const StopCheck&)>;
TransferGuardMaker SetTransferGuardMaker(TransferGuardMaker maker);

// A guard from the installed maker, or null. The caller looks at `stopped` again afterwards: the
// guard may have been given up on for it.
std::unique_ptr<TransferGuard> HoldForTransfer(const StopCheck& stopped);

}  // namespace fwup
