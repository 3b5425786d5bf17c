#pragma once

#include <memory>
#include <string>

#include "ui/win32/win32_dialog_surface.h"
#include "upgrade/session_end_holder.h"

namespace fwup {

// The session end refused by a dialog window: a shutdown block reason tied to the window, and the
// window's answer to WM_QUERYENDSESSION turned into a refusal, both on the window's own thread
// (Windows refuses them from any other). The window must outlive every hold.
class WindowSessionEnd final : public SessionEndHolder {
  public:
    explicit WindowSessionEnd(Win32DialogSurface& window) : window_(window) {}

    std::unique_ptr<TransferGuard> HoldOffSessionEnd(const std::wstring& reason) override;

  private:
    Win32DialogSurface& window_;
};

}  // namespace fwup
