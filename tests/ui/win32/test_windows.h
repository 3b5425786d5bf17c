#pragma once

// What the window tests need of the machine: a display to make windows on, the common controls'
// classes, and a way to wait for posted input that the window thread handles in its own time.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <thread>

namespace fwup::testing {

// False without a display (plain ctest under Wine): scripts/win32-ui-smoke.sh runs the window
// tests on a virtual X display.
inline bool CanMakeWindows() {
    const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

// The progress bar's class comes with the common controls; the program registers them at start.
inline bool RegisterCommonControls() {
    const HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    if (comctl == nullptr) {
        return false;
    }
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(comctl, "InitCommonControlsEx")));
    if (init == nullptr) {
        return false;
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    init(&controls);
    return true;
}

// Polls `condition` for up to ten seconds.
inline bool Eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace fwup::testing
