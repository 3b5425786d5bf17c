// Windows: the system stays awake through a power request and the execution state of the
// writing thread, and the session end is refused by the main window with a reason Windows shows
// in its shutdown screen. Windows lets no program veto the lid or the power button; the battery
// check before the run covers what it can of those.
#include <windows.h>

#include <memory>
#include <string>

#include "text/lang_text.h"
#include "ui/win32/win32_dialog_surface.h"
#include "upgrade/upgrade_transfer_guard.h"
#include "upgrade/win32/power_request.h"

namespace fwup {

namespace {

// The main window's procedure before the guard stood in front of it. One guard at a time: there
// is one worker.
WNDPROC previousProc = nullptr;

// The dialog layer would let the session end; while the package is being written it must not.
LRESULT CALLBACK RefuseSessionEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        return FALSE;
    }
    return CallWindowProcW(previousProc, window, message, wParam, lParam);
}

class Win32TransferGuard final : public TransferGuard {
  public:
    explicit Win32TransferGuard(DialogSurface* window)
        : window_(dynamic_cast<Win32DialogSurface*>(window)),
          awake_(WindowsPowerRequestCalls(), GetLangText(TXT_TRANSMITTING)) {
        if (window_ == nullptr) {
            return;
        }
        const std::wstring reason = GetLangText(TXT_TRANSMITTING);
        // Both belong to the window's own thread: Windows refuses them from any other.
        window_->RunOnWindowThread([this, &reason] {
            const HWND hwnd = window_->Window();
            if (hwnd == nullptr) {
                return;
            }
            if (ShutdownBlockReasonCreate(hwnd, reason.c_str())) {
                blocked_ = hwnd;
            }
            previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseSessionEnd)));
            if (previousProc != nullptr) {
                subclassed_ = hwnd;
            }
        });
    }

    ~Win32TransferGuard() override {
        if (window_ != nullptr && (blocked_ != nullptr || subclassed_ != nullptr)) {
            window_->RunOnWindowThread([this] {
                if (subclassed_ != nullptr) {
                    SetWindowLongPtrW(subclassed_, GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(previousProc));
                }
                if (blocked_ != nullptr) {
                    ShutdownBlockReasonDestroy(blocked_);
                }
            });
        }
    }

    Win32TransferGuard(const Win32TransferGuard&) = delete;
    Win32TransferGuard& operator=(const Win32TransferGuard&) = delete;

  private:
    Win32DialogSurface* window_;
    PowerRequest awake_;
    HWND blocked_ = nullptr;
    HWND subclassed_ = nullptr;
};

}  // namespace

std::unique_ptr<TransferGuard> MakeHostTransferGuard(DialogSurface* window) {
    return std::make_unique<Win32TransferGuard>(window);
}

}  // namespace fwup
