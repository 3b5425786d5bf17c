#include "device/win32/usbprint_arrival_watch.h"

#include <dbt.h>

#include <atomic>
#include <cstdint>
#include <future>
#include <system_error>
#include <thread>

#include "device/win32/usbprint_class.h"

namespace fwup::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ViruzuFwupArrivalWatch";

bool CountsAsArrivalOrRemoval(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return false;
    }
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header != nullptr && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
}

class WatchWindow final : public UsbPrintArrivalWatch {
  public:
    WatchWindow() = default;
    WatchWindow(const WatchWindow&) = delete;
    WatchWindow& operator=(const WatchWindow&) = delete;

    ~WatchWindow() override {
        if (thread_.joinable()) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
            thread_.join();
        }
    }

    std::uint64_t Changes() override { return changes_.load(std::memory_order_relaxed); }
    HWND window() const override { return window_; }

    // Returns once the thread has its window and registration, or has given up.
    bool Start() {
        std::promise<HWND> made;
        std::future<HWND> madeResult = made.get_future();
        try {
            thread_ = std::thread([this, &made] { Run(made); });
        } catch (const std::system_error&) {
            return false;
        }
        window_ = madeResult.get();
        if (window_ == nullptr) {
            thread_.join();
            return false;
        }
        return true;
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<WatchWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
            case WM_DEVICECHANGE:
                if (self != nullptr && CountsAsArrivalOrRemoval(wParam, lParam)) {
                    self->changes_.fetch_add(1, std::memory_order_relaxed);
                }
                return TRUE;
            case WM_DESTROY:
                if (self != nullptr && self->notify_ != nullptr) {
                    UnregisterDeviceNotification(self->notify_);
                    self->notify_ = nullptr;
                }
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static bool RegisterWindowClass(HINSTANCE instance) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &WatchWindow::Procedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    // The window lives and dies on this thread, as Win32 requires of its messages.
    void Run(std::promise<HWND>& made) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        HWND window = nullptr;
        if (RegisterWindowClass(instance)) {
            window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     instance, this);
        }
        if (window != nullptr) {
            DEV_BROADCAST_DEVICEINTERFACE_W filter{};
            filter.dbcc_size = sizeof(filter);
            filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
            filter.dbcc_classguid = kUsbPrintInterfaceClass;
            notify_ = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
            if (notify_ == nullptr) {
                DestroyWindow(window);
                window = nullptr;
            }
        }
        made.set_value(window);  // `made` is gone once the starter has its answer
        if (window == nullptr) {
            return;
        }
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (IsWindow(window)) {  // the loop failed rather than ended: the window is still up
            DestroyWindow(window);
        }
    }

    HWND window_ = nullptr;
    HDEVNOTIFY notify_ = nullptr;  // the watch thread's own
    std::atomic<std::uint64_t> changes_{0};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<UsbPrintArrivalWatch> MakeUsbPrintArrivalWatch() {
    auto watch = std::make_unique<WatchWindow>();
    if (!watch->Start()) {
        return nullptr;
    }
    return watch;
}

}  // namespace fwup::win32
