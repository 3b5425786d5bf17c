#pragma once

#include <windows.h>

#include <string_view>

namespace fwup::win32 {

enum class AccessibleText { kName, kDescription };

// Gives `window` (a control or a dialog) a name or a description for assistive technology, read
// through MSAA in place of what the system would derive (the window text, which for a picture, a
// progress bar or an edit box names nothing). An empty text takes it back. Assistive technology
// is told of the change. Window thread only; the texts go with the window.
void SetAccessibleText(HWND window, AccessibleText which, std::wstring_view text);

}  // namespace fwup::win32
