#include "ui/win32/win32_dialog_surface.h"

#include <commctrl.h>

#include "ui/win32/accessible_names.h"
#include "ui/win32/control_styles.h"
#include "ui/win32/dpi_scaling.h"
#include "ui/win32/resource_ids.h"

namespace fwup {

const wchar_t* const kMainWindowClass = L"" FWUP_MAIN_WINDOW_CLASS;

namespace {

// Private messages. WPARAM carries the surface, so that a message reaching a window whose handle
// was reused by another dialog is not taken for one of its own.
constexpr UINT kRunTaskMessage = WM_APP + 0x40;     // LPARAM: the task
constexpr UINT kAfterFocusMessage = WM_APP + 0x41;  // the dialog manager has placed the focus
constexpr UINT kDpiChangedMessage = WM_APP + 0x42;  // the dialog manager has rescaled the dialog
constexpr LRESULT kTaskRan = 0x52554E;
// The logic's timers, clear of the ids controls and the dialog manager use.
constexpr UINT_PTR kTimerIdBase = 0x4600;

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SetWindowTextView(HWND window, std::wstring_view text) {
    const std::wstring copy(text);
    SetWindowTextW(window, copy.c_str());
}

// Style words changed after creation take effect on the frame only when told so.
void ApplyStyle(HWND control, const win32::WindowStyle& style) {
    SetWindowLongPtrW(control, GWL_STYLE, static_cast<LONG_PTR>(style.style));
    SetWindowLongPtrW(control, GWL_EXSTYLE, static_cast<LONG_PTR>(style.exStyle));
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(control, nullptr, TRUE);
}

// A drop-down list draws its dropped entries in a window of its own, made with the combo box and
// taking none of its reading order or alignment, so they are handed on to it.
void ShareReadingWithList(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) == FALSE || info.hwndList == nullptr) {
        return;
    }
    constexpr DWORD kShared = WS_EX_RTLREADING | WS_EX_RIGHT;
    const auto from = static_cast<DWORD>(GetWindowLongPtrW(combo, GWL_EXSTYLE));
    const auto to = static_cast<DWORD>(GetWindowLongPtrW(info.hwndList, GWL_EXSTYLE));
    SetWindowLongPtrW(info.hwndList, GWL_EXSTYLE,
                      static_cast<LONG_PTR>((to & ~kShared) | (from & kShared)));
}

}  // namespace

bool RegisterMainWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        // Global to the process: the window is created with the instance of the resource module,
        // which in the tests is not the module that registers the class.
        windowClass.style = CS_GLOBALCLASS;
        windowClass.lpfnWndProc = DefDlgProcW;
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = kMainWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

Win32DialogSurface::Win32DialogSurface(const DialogTemplate& dialog, HINSTANCE resources,
                                       Win32DialogSurface* owner)
    : dialog_(dialog), resources_(resources), owner_(owner) {}

// The window goes before the fonts, bitmaps, icons and brush it still refers to.
Win32DialogSurface::~Win32DialogSurface() {
    if (const HWND window = window_.exchange(nullptr)) {
        DestroyWindow(window);
    }
}

HWND Win32DialogSurface::Control(int id) const {
    const HWND window = Window();
    return window != nullptr ? GetDlgItem(window, id) : nullptr;
}

const Win32DialogSurface::ControlState* Win32DialogSurface::State(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() ? &found->second : nullptr;
}

int Win32DialogSurface::RunModal() {
    if (!RegisterMainWindowClass()) {
        return -1;
    }
    const HRSRC found = FindResourceW(resources_, MAKEINTRESOURCEW(dialog_.id), RT_DIALOG);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const auto* dialogTemplate =
        loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr) {
        return -1;
    }

    controls_.clear();
    for (const TemplateControl& control : dialog_.controls) {
        controls_[control.id] = ControlState{control.kind, control.style, false, std::nullopt};
    }
    const Rgb back = dialog_.background;
    background_.reset(CreateSolidBrush(RGB(back.red, back.green, back.blue)));
    ended_ = false;
    result_ = -1;
    windowThread_.store(GetCurrentThreadId());

    const HWND ownerWindow = owner_ != nullptr ? owner_->Window() : nullptr;
    win32::UniqueWindow window(CreateDialogIndirectParamW(
        resources_, dialogTemplate, ownerWindow, &DialogProc, reinterpret_cast<LPARAM>(this)));
    if (!window.valid()) {
        window_.store(nullptr);
        return -1;
    }
    // Disabled after creation, as the platform's own modal dialogs do: a dialog that failed to
    // appear must not leave its owner dead.
    const bool ownerWasEnabled = ownerWindow != nullptr && IsWindowEnabled(ownerWindow) != FALSE;
    if (ownerWasEnabled) {
        EnableWindow(ownerWindow, FALSE);
    }
    if (!ended_ && IsWindowVisible(window.get()) == FALSE) {
        ShowWindow(window.get(), SW_SHOW);
    }

    while (!ended_) {
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // Whoever asked the thread to quit asked the loop around this one as well.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (IsEscapeForThisDialog(message)) {
            if (listener_ != nullptr) {
                listener_->OnCancel();
            }
            continue;
        }
        if (IsDialogMessageW(window.get(), &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // The owner is enabled while this window still exists, so that activation returns to it
    // rather than to some other program.
    if (ownerWasEnabled) {
        EnableWindow(ownerWindow, TRUE);
    }
    window_.store(nullptr);
    window.reset();
    // Requests that arrived while the window went away are answered now (as refused) rather than
    // whenever this thread next pumps.
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
    return result_;
}

bool Win32DialogSurface::IsEscapeForThisDialog(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) {
        return false;
    }
    // On a dropped-down list the key closes the list, and takes back what the user browsed.
    if (IsDroppedList(message.hwnd)) {
        return false;
    }
    const HWND window = Window();
    return window != nullptr && (message.hwnd == window || IsChild(window, message.hwnd) != FALSE);
}

void Win32DialogSurface::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    // The loop may be waiting in GetMessage, which does not return for sent messages.
    if (const HWND window = Window()) {
        PostMessageW(window, WM_NULL, 0, 0);
    }
}

bool Win32DialogSurface::RunOnWindowThread(const std::function<void()>& task) {
    const HWND window = Window();
    if (window == nullptr) {
        return false;
    }
    if (GetCurrentThreadId() == windowThread_.load()) {
        task();
        return true;
    }
    // Returns 0 without running the task when the window is destroyed before it is serviced.
    return SendMessageW(window, kRunTaskMessage, reinterpret_cast<WPARAM>(this),
                        reinterpret_cast<LPARAM>(&task)) == kTaskRan;
}

INT_PTR CALLBACK Win32DialogSurface::DialogProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* surface = reinterpret_cast<Win32DialogSurface*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return surface->InitDialog(window);
    }
    auto* surface = reinterpret_cast<Win32DialogSurface*>(GetWindowLongPtrW(window, DWLP_USER));
    if (surface == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        return FALSE;
    }
    return surface->HandleMessage(window, message, wParam, lParam);
}

// A dialog procedure returns most results through DWLP_MSGRESULT, and TRUE for "handled".
INT_PTR Win32DialogSurface::Reply(HWND window, LRESULT result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL Win32DialogSurface::InitDialog(HWND window) {
    window_.store(window);
    focusSetInInit_ = false;
    initialising_ = true;
    fontDpi_ = win32::WindowDpi(window);
    if (listener_ != nullptr) {
        listener_->OnInit();
    }
    initialising_ = false;
    // FALSE keeps the focus the logic chose; TRUE lets the dialog manager pick the first control.
    return focusSetInInit_ ? FALSE : TRUE;
}

INT_PTR Win32DialogSurface::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRunTaskMessage:
            if (reinterpret_cast<Win32DialogSurface*>(wParam) != this) {
                return FALSE;
            }
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return Reply(window, kTaskRan);

        case WM_COMMAND:
            OnCommandMessage(wParam, lParam);
            return TRUE;

        case WM_TIMER:
            if (wParam >= kTimerIdBase && listener_ != nullptr) {
                listener_->OnTimer(static_cast<int>(wParam - kTimerIdBase));
            }
            return TRUE;

        case WM_CLOSE:
            // Left to DefDlgProc this would become IDCANCEL with the Exit button's handle, a
            // click on Exit. Whether the window closes is the logic's decision alone.
            if (listener_ != nullptr) {
                listener_->OnCloseRequest();
            }
            return Reply(window, 0);

        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
            return Reply(window, TRUE);
        }

        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(background_.get());
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));

        case WM_SETFOCUS:
            // The listener hears of it after DefDlgProc has restored the focus to a control.
            PostMessageW(window, kAfterFocusMessage, reinterpret_cast<WPARAM>(this), 0);
            return FALSE;
        case kAfterFocusMessage:
            if (reinterpret_cast<Win32DialogSurface*>(wParam) == this && listener_ != nullptr) {
                listener_->OnFocus();
            }
            return TRUE;

        case WM_PAINT:
            return PaintIconic(window) ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(largeIcon_.get());

        case WM_DPICHANGED:
            // DefDlgProc rescales the template and moves every control; the fonts of our own
            // making follow once it is done.
            PostMessageW(window, kDpiChangedMessage, reinterpret_cast<WPARAM>(this), 0);
            return FALSE;
        case kDpiChangedMessage:
            if (reinterpret_cast<Win32DialogSurface*>(wParam) == this) {
                RefreshFontsForDpi();
            }
            return TRUE;

        case WM_DESTROY:
            window_.store(nullptr);
            return FALSE;

        default:
            return FALSE;
    }
}

bool Win32DialogSurface::StartTimer(int timerId, int intervalMs) {
    const HWND window = Window();
    if (window == nullptr || timerId < 0) {
        return false;
    }
    // Setting a timer that runs restarts it; it ends with the window.
    return SetTimer(window, kTimerIdBase + static_cast<UINT_PTR>(timerId),
                    static_cast<UINT>(intervalMs), nullptr) != 0;
}

void Win32DialogSurface::StopTimer(int timerId) {
    if (const HWND window = Window(); window != nullptr && timerId >= 0) {
        KillTimer(window, kTimerIdBase + static_cast<UINT_PTR>(timerId));
    }
}

void Win32DialogSurface::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control != nullptr &&
        (code == CBN_SELCHANGE || code == CBN_SELENDCANCEL || code == CBN_CLOSEUP)) {
        OnListNotification(id);
        return;
    }
    if (listener_ == nullptr) {
        return;
    }
    if (control == nullptr) {
        // Menu and accelerator commands, and the default-button command of the Return key when
        // no button stands for it. IDCANCEL without a button is a cancel, not the Exit button.
        if (id == IDCANCEL) {
            listener_->OnCancel();
        } else if (code == 0) {
            listener_->OnCommand(id);
        }
        return;
    }
    const ControlState* state = State(id);
    if (code == BN_CLICKED && state != nullptr && state->kind == ControlKind::kPushButton) {
        listener_->OnCommand(id);
    }
}

// The list tells of every entry the user browses to, and of a dropped list closed without a
// choice, after which the selection may be the earlier one again. The logic hears only of a
// selection other than the one it last knew; CB_SETCURSEL tells nobody, so the logic's own
// selections are noted where it makes them.
void Win32DialogSurface::OnListNotification(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end() || found->second.kind != ControlKind::kDropDownList) {
        return;
    }
    const int now = GetCurSel(id);
    if (now == found->second.knownSelection) {
        return;
    }
    found->second.knownSelection = now;
    if (listener_ != nullptr) {
        listener_->OnSelectionChange(id);
    }
}

void Win32DialogSurface::NoteSelection(int id) {
    const auto found = controls_.find(id);
    if (found != controls_.end()) {
        found->second.knownSelection = GetCurSel(id);
    }
}

bool Win32DialogSurface::IsDroppedList(HWND control) const {
    const int id = control != nullptr ? GetDlgCtrlID(control) : 0;
    const ControlState* state = State(id);
    return state != nullptr && state->kind == ControlKind::kDropDownList &&
           Control(id) == control && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

INT_PTR Win32DialogSurface::OnControlColour(HDC dc, HWND control) {
    const ControlState* state = State(GetDlgCtrlID(control));
    if (state != nullptr && state->defaultColours) {
        return FALSE;  // DefDlgProc's own colours
    }
    const Rgb back = dialog_.background;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, RGB(back.red, back.green, back.blue));
    return reinterpret_cast<INT_PTR>(background_.get());
}

bool Win32DialogSurface::PaintIconic(HWND window) {
    if (IsIconic(window) == FALSE || !largeIcon_.valid()) {
        return false;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, largeIcon_.get());
    EndPaint(window, &paint);
    return true;
}

void Win32DialogSurface::SetTitle(std::wstring_view title) {
    if (const HWND window = Window()) {
        SetWindowTextView(window, title);
    }
}

void Win32DialogSurface::SetIcon(int iconId) {
    const HWND window = Window();
    if (window == nullptr) {
        return;
    }
    const auto load = [this, iconId](int width, int height) {
        return static_cast<HICON>(
            LoadImageW(resources_, MAKEINTRESOURCEW(iconId), IMAGE_ICON, width, height, 0));
    };
    win32::UniqueIcon large(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    win32::UniqueIcon small(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The previous icons are released only now that the window no longer shows them.
    largeIcon_ = std::move(large);
    smallIcon_ = std::move(small);
}

void Win32DialogSurface::SetDialogRtlReading(bool on) {
    const HWND window = Window();
    if (window == nullptr) {
        return;
    }
    // Added to the extended style rather than replacing it, so that the window keeps its modal
    // frame and its task-bar button.
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const DWORD changed = on ? (exStyle | WS_EX_RTLREADING) : (exStyle & ~WS_EX_RTLREADING);
    SetWindowLongPtrW(window, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HMENU Win32DialogSurface::SystemMenu() const {
    const HWND window = Window();
    // Some systems hand out a menu even to a window without WS_SYSMENU; it is never shown.
    if (window == nullptr || (GetWindowLongPtrW(window, GWL_STYLE) & WS_SYSMENU) == 0) {
        return nullptr;
    }
    return GetSystemMenu(window, FALSE);
}

std::wstring Win32DialogSurface::CloseMenuItemCaption() {
    const HMENU menu = SystemMenu();
    if (menu == nullptr) {
        return {};
    }
    const int length = GetMenuStringW(menu, SC_CLOSE, nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) {
        return {};
    }
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetMenuStringW(menu, SC_CLOSE, caption.data(), length + 1, MF_BYCOMMAND);
    caption.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return caption;
}

bool Win32DialogSurface::RemoveCloseMenuItem() {
    const HMENU menu = SystemMenu();
    if (menu == nullptr) {
        return false;
    }
    // Without the item the caption's close box is disabled as well.
    DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
    DrawMenuBar(Window());
    return true;
}

bool Win32DialogSurface::AppendCloseMenuItem(std::wstring_view caption) {
    const HMENU menu = SystemMenu();
    if (menu == nullptr) {
        return false;
    }
    if (!HasCloseMenuItem()) {
        const std::wstring text(caption);
        AppendMenuW(menu, MF_STRING, SC_CLOSE, text.c_str());
    }
    DrawMenuBar(Window());
    return true;
}

bool Win32DialogSurface::HasCloseMenuItem() {
    const HMENU menu = SystemMenu();
    return menu != nullptr && GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

void Win32DialogSurface::CreateControl(const ControlDesc& desc) {
    const HWND window = Window();
    if (window == nullptr) {
        return;
    }
    // One window per id: the dialog manager addresses controls by id.
    if (const HWND existing = GetDlgItem(window, desc.id)) {
        DestroyWindow(existing);
    }
    const win32::WindowStyle style = win32::ControlStyle(desc.kind, desc.style);
    const RECT rect = win32::ScaledRect(desc.rect, win32::WindowDpi(window));
    const HWND control = CreateWindowExW(
        style.exStyle, win32::ControlClassName(desc.kind), L"",
        WS_CHILD | (desc.visible ? WS_VISIBLE : 0) | style.style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), resources_, nullptr);
    if (control == nullptr) {
        controls_.erase(desc.id);
        return;
    }
    controls_[desc.id] = ControlState{desc.kind, desc.style, desc.defaultColours, std::nullopt};
    // An edit control shows its scroll bar only once it has something to scroll otherwise.
    if (desc.kind == ControlKind::kEdit && (desc.style & kStyleVScroll) != 0) {
        ShowScrollBar(control, SB_VERT, TRUE);
    }
    if (desc.kind == ControlKind::kDropDownList) {
        ShareReadingWithList(control);
    }
    if (desc.font) {
        SetFont(desc.id, *desc.font);
    } else {
        SendMessageW(control, WM_SETFONT, SendMessageW(window, WM_GETFONT, 0, 0), FALSE);
    }
}

void Win32DialogSurface::SetText(int id, std::wstring_view text) {
    if (const HWND control = Control(id)) {
        SetWindowTextView(control, text);
    }
}

std::wstring Win32DialogSurface::GetText(int id) {
    const HWND control = Control(id);
    return control != nullptr ? WindowText(control) : std::wstring();
}

void Win32DialogSurface::Show(int id, bool visible) {
    if (const HWND control = Control(id)) {
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    }
}

void Win32DialogSurface::Enable(int id, bool enabled) {
    if (const HWND control = Control(id)) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

void Win32DialogSurface::Move(int id, const PixelRect& rect) {
    if (const HWND control = Control(id)) {
        const RECT scaled = win32::ScaledRect(rect, win32::WindowDpi(Window()));
        MoveWindow(control, scaled.left, scaled.top, scaled.right - scaled.left,
                   scaled.bottom - scaled.top, TRUE);
    }
}

void Win32DialogSurface::ChangeStyle(int id, StyleBits remove, StyleBits add) {
    const HWND control = Control(id);
    const auto found = controls_.find(id);
    if (control == nullptr || found == controls_.end()) {
        return;
    }
    ControlState& state = found->second;
    const StyleBits after = (state.style & ~remove) | add;
    const win32::WindowStyle current{static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)),
                                     static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE))};
    ApplyStyle(control, win32::RestyledControl(state.kind, current, state.style, after));
    state.style = after;
    if (state.kind == ControlKind::kDropDownList) {
        ShareReadingWithList(control);
    }
    // The dialog manager keeps its own default id: Return with no button focused gives it.
    if (state.kind == ControlKind::kPushButton && ((remove | add) & kStyleDefaultButton) != 0) {
        const HWND dialog = Window();
        if ((after & kStyleDefaultButton) != 0) {
            SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
        } else if (LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id) {
            SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
        }
    }
}

HFONT Win32DialogSurface::FontFor(const FontDesc& font) {
    for (const auto& [desc, made] : fonts_) {
        if (desc == font) {
            return made.get();
        }
    }
    const LOGFONTW logFont = win32::MakeLogFont(font, fontDpi_ > 0 ? fontDpi_ : win32::kDesignDpi);
    win32::UniqueFont made(CreateFontIndirectW(&logFont));
    const HFONT handle = made.get();
    if (handle != nullptr) {
        fonts_.emplace_back(font, std::move(made));
    }
    return handle;
}

void Win32DialogSurface::SetFont(int id, const FontDesc& font) {
    const HWND control = Control(id);
    const auto found = controls_.find(id);
    if (control == nullptr || found == controls_.end()) {
        return;
    }
    found->second.font = font;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
}

void Win32DialogSurface::RefreshFontsForDpi() {
    const HWND window = Window();
    const int dpi = win32::WindowDpi(window);
    if (window == nullptr || dpi == fontDpi_) {
        return;
    }
    // The old fonts stay alive until no control uses them any more.
    std::vector<std::pair<FontDesc, win32::UniqueFont>> old = std::move(fonts_);
    fonts_.clear();
    fontDpi_ = dpi;
    for (const auto& [id, state] : controls_) {
        if (state.font) {
            if (const HWND control = GetDlgItem(window, id)) {
                SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*state.font)),
                             TRUE);
            }
        }
    }
}

HBITMAP Win32DialogSurface::BitmapFor(int bitmapId) {
    auto& bitmap = bitmaps_[bitmapId];
    if (!bitmap.valid()) {
        bitmap.reset(static_cast<HBITMAP>(
            LoadImageW(resources_, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, 0)));
    }
    return bitmap.get();
}

void Win32DialogSurface::SetImage(int id, int bitmapId) {
    if (const HWND control = Control(id)) {
        // The bitmaps are 24-bit, so the control shows ours rather than a copy of its own.
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(BitmapFor(bitmapId)));
    }
}

void Win32DialogSurface::SetAccessibleName(int id, std::wstring_view name) {
    win32::SetAccessibleText(id == kIdWindow ? Window() : Control(id), win32::AccessibleText::kName,
                             name);
}

void Win32DialogSurface::SetAccessibleDescription(int id, std::wstring_view description) {
    win32::SetAccessibleText(id == kIdWindow ? Window() : Control(id),
                             win32::AccessibleText::kDescription, description);
}

void Win32DialogSurface::SetFocus(int id) {
    if (const HWND control = Control(id)) {
        ::SetFocus(control);
        if (initialising_) {
            focusSetInInit_ = true;
        }
    }
}

// The dialog manager's Tab walks the controls in their z-order, which is the order of making.
void Win32DialogSurface::PlaceInFocusOrderAfter(int id, int afterId) {
    const HWND control = Control(id);
    const HWND after = Control(afterId);
    if (control != nullptr && after != nullptr && control != after) {
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32DialogSurface::SetProgressRange(int id, int lowest, int highest) {
    if (const HWND control = Control(id)) {
        SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(lowest), highest);
    }
}

void Win32DialogSurface::SetProgressPos(int id, int position) {
    if (const HWND control = Control(id)) {
        SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
}

void Win32DialogSurface::ResetItems(int id) {
    if (const HWND control = Control(id)) {
        SendMessageW(control, CB_RESETCONTENT, 0, 0);
        NoteSelection(id);
    }
}

void Win32DialogSurface::InsertItem(int id, int index, std::wstring_view text) {
    if (const HWND control = Control(id)) {
        // CB_INSERTSTRING keeps the index even in a sorted list; past the end means at the end.
        const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        const int at = index < 0 || index > count ? -1 : index;
        const std::wstring copy(text);
        SendMessageW(control, CB_INSERTSTRING, static_cast<WPARAM>(at),
                     reinterpret_cast<LPARAM>(copy.c_str()));
        // An entry put before the selected one moves its index.
        NoteSelection(id);
    }
}

void Win32DialogSurface::SetCurSel(int id, int index) {
    if (const HWND control = Control(id)) {
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        NoteSelection(id);
    }
}

int Win32DialogSurface::GetCurSel(int id) {
    const HWND control = Control(id);
    return control != nullptr ? static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)) : -1;
}

std::unique_ptr<DialogSurface> Win32SurfaceFactory::CreateSurface(const DialogTemplate& dialog,
                                                                  DialogSurface* owner) {
    return std::make_unique<Win32DialogSurface>(dialog, resources_,
                                                dynamic_cast<Win32DialogSurface*>(owner));
}

}  // namespace fwup
