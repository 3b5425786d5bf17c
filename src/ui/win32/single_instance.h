#pragma once

#include <windows.h>

#include <string>

namespace fwup {

// The name of the mutex that marks a running instance: the English title (text 0) followed by
// "(FW)". English whatever the user's language and whenever it is asked, so that instances started
// under different languages still meet.
std::wstring AppMutexName();

// The running instance's main window, found by its window class; null when there is none.
HWND FindRunningMainWindow();

// Brings a running instance's main window back: restored from minimised or maximised to its
// normal placement, placed on top of the other non-topmost windows without moving or resizing it,
// shown and activated.
void BringRunningWindowForward(HWND window);

}  // namespace fwup
