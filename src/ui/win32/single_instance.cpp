#include "ui/win32/single_instance.h"

#include "text/lang_tables.h"
#include "text/lang_text.h"
#include "ui/win32/win32_dialog_surface.h"

namespace fwup {
namespace {

constexpr std::wstring_view kMutexTag = L"FW";

}  // namespace

std::wstring AppMutexName() {
    const std::wstring_view title = LangTableFor(LANG_ENGLISH)[TXT_TITLE].Text;
    return std::wstring(title) + L"(" + std::wstring(kMutexTag) + L")";
}

HWND FindRunningMainWindow() {
    return FindWindowW(kMainWindowClass, nullptr);
}

void BringRunningWindowForward(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (GetWindowPlacement(window, &placement) != FALSE) {
        placement.showCmd = SW_SHOWNORMAL;
        SetWindowPlacement(window, &placement);
    }
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

}  // namespace fwup
