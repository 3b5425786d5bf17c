#pragma once

#include <memory>
#include <string>

#include "upgrade/upgrade_transfer_guard.h"

namespace fwup {

// A window through which the session end can be refused, on platforms that tie that refusal to a
// window. The run needs nothing else of the window layer while it writes the package.
class SessionEndHolder {
  public:
    // Refuses the end of the session, with `reason` wherever the platform shows one, until the
    // returned hold is destroyed. Takes and gives back nothing when the window is gone. Make and
    // destroy on one thread; the window's own thread must be free to serve the request.
    virtual std::unique_ptr<TransferGuard> HoldOffSessionEnd(const std::wstring& reason) = 0;

  protected:
    ~SessionEndHolder() = default;
};

}  // namespace fwup
