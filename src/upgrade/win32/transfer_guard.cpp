// Windows: the system stays awake through a power request and the execution state of the
// writing thread, and the session end is refused by the main window with a reason Windows shows
// in its shutdown screen. Windows lets no program veto the lid or the power button; the battery
// check before the run covers what it can of those.
#include <windows.h>

#include <memory>
#include <string>

#include "text/lang_text.h"
#include "upgrade/session_end_holder.h"
#include "upgrade/upgrade_transfer_guard.h"
#include "upgrade/win32/power_request.h"

namespace fwup {

namespace {

class Win32TransferGuard final : public TransferGuard {
  public:
    explicit Win32TransferGuard(SessionEndHolder* sessionEnd)
        : awake_(WindowsPowerRequestCalls(), GetLangText(TXT_TRANSMITTING)) {
        if (sessionEnd != nullptr) {
            sessionEnd_ = sessionEnd->HoldOffSessionEnd(GetLangText(TXT_TRANSMITTING));
        }
    }

  private:
    // Taken in this order and given back in the reverse one.
    PowerRequest awake_;
    std::unique_ptr<TransferGuard> sessionEnd_;
};

}  // namespace

// Nothing here waits on another process: the power request is the kernel's, and the session
// end's hold is served by the window's own thread, which no run blocks.
std::unique_ptr<TransferGuard> MakeHostTransferGuard(SessionEndHolder* sessionEnd,
                                                     const StopCheck&) {
    return std::make_unique<Win32TransferGuard>(sessionEnd);
}

}  // namespace fwup
