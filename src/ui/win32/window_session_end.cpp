#include "ui/win32/window_session_end.h"

#include <windows.h>

#include <commctrl.h>

namespace fwup {

namespace {

// Tells this subclass from any other the window may carry.
constexpr UINT_PTR kRefusalId = 1;

// The dialog layer would let the session end; while the package is being written it must not.
LRESULT CALLBACK RefuseSessionEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == WM_QUERYENDSESSION) {
        return FALSE;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class SessionEndRefusal final : public TransferGuard {
  public:
    SessionEndRefusal(Win32DialogSurface& window, const std::wstring& reason) : window_(window) {
        window_.RunOnWindowThread([this, &reason] {
            const HWND hwnd = window_.Window();
            if (hwnd == nullptr) {
                return;
            }
            if (ShutdownBlockReasonCreate(hwnd, reason.c_str())) {
                blocked_ = hwnd;
            }
            if (SetWindowSubclass(hwnd, &RefuseSessionEnd, kRefusalId, 0)) {
                subclassed_ = hwnd;
            }
        });
    }

    ~SessionEndRefusal() override {
        if (blocked_ == nullptr && subclassed_ == nullptr) {
            return;
        }
        window_.RunOnWindowThread([this] {
            if (subclassed_ != nullptr) {
                RemoveWindowSubclass(subclassed_, &RefuseSessionEnd, kRefusalId);
            }
            if (blocked_ != nullptr) {
                ShutdownBlockReasonDestroy(blocked_);
            }
        });
    }

    SessionEndRefusal(const SessionEndRefusal&) = delete;
    SessionEndRefusal& operator=(const SessionEndRefusal&) = delete;

  private:
    Win32DialogSurface& window_;
    HWND blocked_ = nullptr;
    HWND subclassed_ = nullptr;
};

}  // namespace

std::unique_ptr<TransferGuard> WindowSessionEnd::HoldOffSessionEnd(const std::wstring& reason) {
    return std::make_unique<SessionEndRefusal>(window_, reason);
}

}  // namespace fwup
