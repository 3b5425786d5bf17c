#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"
#include "ui/win32/gdi_owners.h"

namespace fwup {

// The main dialog's window class (named by template 102 of the resource script). A second
// instance of the program finds the running window by it, whatever language the title is in.
extern const wchar_t* const kMainWindowClass;

// Registers kMainWindowClass, a dialog class (DefDlgProcW, DLGWINDOWEXTRA) visible to every module
// of the process. Safe to call again; false only when the platform refuses the class.
bool RegisterMainWindowClass();

// A dialog of the Win32 layer: made from the RT_DIALOG template with its DialogTemplate's id, run
// in a modal loop of its own on the thread that calls RunModal.
//
// The loop is our own rather than DialogBox's so that the Escape key can be told from a click on
// the Exit button: both arrive from the dialog manager as IDCANCEL with the button's handle, and
// only the key may be reported as OnCancel. Nothing in this class ends the dialog by itself: the
// listener decides on every close and cancel.
//
// RunOnWindowThread from another thread is a blocking SendMessage of a private message, serviced
// by whatever loop the window thread is in (this one, or a nested message dialog's).
class Win32DialogSurface final : public DialogSurface {
  public:
    // `resources` is the module holding the templates, bitmaps and icon (the program itself, or a
    // copy of it loaded as data); windows are created with it as their instance. `owner`, when
    // given, is disabled while this dialog runs and must outlive it.
    Win32DialogSurface(const DialogTemplate& dialog, HINSTANCE resources,
                       Win32DialogSurface* owner = nullptr);
    ~Win32DialogSurface() override;
    Win32DialogSurface(const Win32DialogSurface&) = delete;
    Win32DialogSurface& operator=(const Win32DialogSurface&) = delete;

    // The dialog window while it exists (between its creation and its destruction), else null.
    HWND Window() const { return window_.load(); }
    // The control with `id`, or null.
    HWND Control(int id) const;

    void SetListener(DialogListener* listener) override { listener_ = listener; }
    // -1 when the window cannot be made (no template, no class); nothing else is reported then.
    int RunModal() override;
    void EndDialog(int result) override;
    bool RunOnWindowThread(const std::function<void()>& task) override;
    bool StartTimer(int timerId, int intervalMs) override;
    void StopTimer(int timerId) override;

    void SetTitle(std::wstring_view title) override;
    void SetIcon(int iconId) override;
    void SetDialogRtlReading(bool on) override;

    std::wstring CloseMenuItemCaption() override;
    bool RemoveCloseMenuItem() override;
    bool AppendCloseMenuItem(std::wstring_view caption) override;
    bool HasCloseMenuItem() override;

    void CreateControl(const ControlDesc& desc) override;
    void SetText(int id, std::wstring_view text) override;
    std::wstring GetText(int id) override;
    void Show(int id, bool visible) override;
    void Enable(int id, bool enabled) override;
    void Move(int id, const PixelRect& rect) override;
    void ChangeStyle(int id, StyleBits remove, StyleBits add) override;
    void SetFont(int id, const FontDesc& font) override;
    void SetImage(int id, int bitmapId) override;
    void SetFocus(int id) override;
    void PlaceInFocusOrderAfter(int id, int afterId) override;
    void SetAccessibleName(int id, std::wstring_view name) override;
    void SetAccessibleDescription(int id, std::wstring_view description) override;

    void SetProgressRange(int id, int lowest, int highest) override;
    void SetProgressPos(int id, int position) override;

    void ResetItems(int id) override;
    void InsertItem(int id, int index, std::wstring_view text) override;
    void SetCurSel(int id, int index) override;
    int GetCurSel(int id) override;

  private:
    struct ControlState {
        ControlKind kind = ControlKind::kStaticText;
        StyleBits style = kStyleNone;  // the portable bits, so that a restyle can be mapped
        bool defaultColours = false;
        std::optional<FontDesc> font;  // none: the dialog's own font
        int knownSelection = -1;       // a drop-down list's, as the logic last set or heard it
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Reply(HWND window, LRESULT result);
    BOOL InitDialog(HWND window);
    void OnCommandMessage(WPARAM wParam, LPARAM lParam);
    void OnListNotification(int id);
    void NoteSelection(int id);
    bool IsDroppedList(HWND control) const;
    INT_PTR OnControlColour(HDC dc, HWND control);
    bool PaintIconic(HWND window);
    bool IsEscapeForThisDialog(const MSG& message) const;

    HMENU SystemMenu() const;
    HFONT FontFor(const FontDesc& font);
    void RefreshFontsForDpi();
    HBITMAP BitmapFor(int bitmapId);
    const ControlState* State(int id) const;

    const DialogTemplate& dialog_;
    const HINSTANCE resources_;
    Win32DialogSurface* const owner_;
    DialogListener* listener_ = nullptr;

    std::atomic<HWND> window_{nullptr};
    std::atomic<DWORD> windowThread_{0};
    bool ended_ = false;
    int result_ = -1;
    bool focusSetInInit_ = false;
    bool initialising_ = false;

    std::map<int, ControlState> controls_;
    win32::UniqueBrush background_;
    win32::UniqueIcon largeIcon_;
    win32::UniqueIcon smallIcon_;
    std::map<int, win32::UniqueBitmap> bitmaps_;
    int fontDpi_ = 0;
    std::vector<std::pair<FontDesc, win32::UniqueFont>> fonts_;
};

// Makes Win32 dialogs from the templates of one resource module; an owner must be a
// Win32DialogSurface.
class Win32SurfaceFactory final : public DialogSurfaceFactory {
  public:
    explicit Win32SurfaceFactory(HINSTANCE resources) : resources_(resources) {}

    std::unique_ptr<DialogSurface> CreateSurface(const DialogTemplate& dialog,
                                                 DialogSurface* owner) override;

  private:
    HINSTANCE resources_;
};

}  // namespace fwup
