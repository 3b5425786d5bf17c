#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fwup {

struct DialogTemplate;

// The kinds of control a dialog holds. A picture takes the size of the bitmap set into it; a
// drop-down list never shows an edit field.
enum class ControlKind {
    kPushButton,
    kStaticText,
    kPicture,
    kEdit,
    kDropDownList,
    kProgressBar,
};

// Where an operation takes a control id, this one means the window itself.
inline constexpr int kIdWindow = 0;

// Control styles, as bits so that an alignment can be kept, removed and added like the platform's
// own style words. A style a kind has no use for is ignored by the surface.
using StyleBits = std::uint32_t;
inline constexpr StyleBits kStyleNone = 0;
inline constexpr StyleBits kStyleBorder = 1u << 0;
inline constexpr StyleBits kStyleVScroll = 1u << 1;  // vertical scroll bar, shown even when idle
inline constexpr StyleBits kStyleTabStop = 1u << 2;
inline constexpr StyleBits kStyleMultiLine = 1u << 3;
inline constexpr StyleBits kStyleAutoVScroll = 1u << 4;
inline constexpr StyleBits kStyleReadOnly = 1u << 5;
inline constexpr StyleBits kStyleWantReturn = 1u << 6;  // Return is a line break, not a command
inline constexpr StyleBits kStyleAlignCenter = 1u << 7;
inline constexpr StyleBits kStyleAlignRight = 1u << 8;  // no alignment bit: left-aligned
inline constexpr StyleBits kStyleSmooth = 1u << 9;      // progress bar without segments
inline constexpr StyleBits kStyleTransparent = 1u << 10;
inline constexpr StyleBits kStyleSorted = 1u << 11;
inline constexpr StyleBits kStyleDefaultButton = 1u << 12;
inline constexpr StyleBits kStyleRtlReading = 1u << 13;  // text reads right to left
inline constexpr StyleBits kStyleLayoutRtl = 1u << 14;   // mirrored: a progress bar grows leftwards

// A rectangle in pixels of the client area. A toolkit that scales the window for the screen
// scales these alike, so that the layout keeps its proportions to the dialog-unit template.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    static constexpr PixelRect FromEdges(int left, int top, int right, int bottom) {
        return {left, top, right - left, bottom - top};
    }
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A font by value; surfaces cache the toolkit fonts they make from it. Exactly one of
// `pointTenths` (converted for the screen by the surface) and `height` is non-zero.
struct FontDesc {
    enum class Family { kDefault, kSwiss };

    std::wstring face{};
    int pointTenths = 0;  // size in tenths of a point
    int height = 0;       // character height in logical units (pixels at 96 DPI)
    int weight = 0;       // 0: the toolkit's default; 700: bold
    Family family = Family::kDefault;

    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// A control created at run time, in pixels.
struct ControlDesc {
    int id = 0;
    ControlKind kind = ControlKind::kStaticText;
    PixelRect rect{};
    StyleBits style = kStyleNone;
    bool visible = true;
    std::optional<FontDesc> font = std::nullopt;  // none: the dialog's font
    // Every control is painted on the dialog's background colour unless it keeps the toolkit's
    // own colours (the tips box keeps the white of an edit field).
    bool defaultColours = false;
};

// What the window tells its logic. Every call arrives on the window thread.
class DialogListener {
  public:
    virtual ~DialogListener() = default;

    // The window and its template controls exist and are not yet shown. A focus set here stands:
    // the surface does not move it to a control of its own choice afterwards.
    virtual void OnInit() = 0;
    // A button was pressed, or the default-button command (1) came from the Return key.
    virtual void OnCommand(int id) = 0;
    // The platform's cancel key (Escape). The surface never closes the window for it. Where the
    // key and a button share a command id (the Exit button is 2, the platform's cancel command),
    // the surface tells them apart and reports only the key here.
    virtual void OnCancel() = 0;
    // The window manager, Alt+F4 or the system menu's close item asked the window to close.
    // Returns true when the logic allowed it, in which case it has already ended the dialog; on
    // false the surface keeps the window open.
    virtual bool OnCloseRequest() = 0;
    // The user chose another entry of a drop-down list (with the mouse or the keyboard); a
    // selection made through DialogSurface::SetCurSel is not reported.
    virtual void OnSelectionChange(int id) { (void)id; }
    // A timer started with DialogSurface::StartTimer went off.
    virtual void OnTimer(int timerId) { (void)timerId; }
    // The window itself received the keyboard focus (after the toolkit's own handling).
    virtual void OnFocus() = 0;
};

// One dialog window, as primitive operations on controls addressed by id. The logic of a window
// is written once against this; Win32, Qt and the tests' recording fake implement it.
//
// Apart from RunOnWindowThread every operation is called on the window thread, between OnInit and
// the return of RunModal. Operations on an id the window does not hold do nothing.
class DialogSurface {
  public:
    virtual ~DialogSurface() = default;

    // The logic that receives the window's events; null detaches it.
    virtual void SetListener(DialogListener* listener) = 0;

    // Creates the window from its template, calls OnInit, shows it and runs its modal loop, with
    // the owner (if any) disabled. Returns the result given to EndDialog.
    virtual int RunModal() = 0;
    // Ends the modal loop once the current event has been handled.
    virtual void EndDialog(int result) = 0;

    // Runs `task` on the window thread and returns when it has run: inline when called there,
    // otherwise as a synchronous request the window thread services while it pumps events.
    // Returns false, without running `task`, when the window no longer exists.
    virtual bool RunOnWindowThread(const std::function<void()>& task) = 0;
    // Runs `task` on the window thread without waiting for it where the toolkit can keep order:
    // inline when called there, otherwise queued behind every request this thread made before,
    // and ahead of every later one. `task` owns what it uses; it is dropped when the window is gone
    // by the time it would run. A toolkit that cannot keep that order waits, as RunOnWindowThread.
    virtual void PostToWindowThread(std::function<void()> task) { RunOnWindowThread(task); }
    // Calls the listener's OnTimer(timerId) every `intervalMs` on the window thread until stopped
    // or the dialog ends; starting it again restarts it. Returns false where the surface has no
    // timers, so the logic can do without. Window thread only.
    virtual bool StartTimer(int timerId, int intervalMs) {
        (void)timerId;
        (void)intervalMs;
        return false;
    }
    virtual void StopTimer(int timerId) { (void)timerId; }

    // The window itself.
    virtual void SetTitle(std::wstring_view title) = 0;
    virtual void SetIcon(int iconId) = 0;  // large and small icon, also drawn when minimised
    virtual void SetDialogRtlReading(bool on) = 0;

    // The system menu's close item. Remove and append return false when the window has no system
    // menu; both redraw the menu bar. The caption is empty when there is no menu or no item.
    virtual std::wstring CloseMenuItemCaption() = 0;
    virtual bool RemoveCloseMenuItem() = 0;
    virtual bool AppendCloseMenuItem(std::wstring_view caption) = 0;
    virtual bool HasCloseMenuItem() = 0;

    // Controls.
    virtual void CreateControl(const ControlDesc& desc) = 0;
    virtual void SetText(int id, std::wstring_view text) = 0;
    virtual std::wstring GetText(int id) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Move(int id, const PixelRect& rect) = 0;  // and repaints
    virtual void ChangeStyle(int id, StyleBits remove, StyleBits add) = 0;
    virtual void SetFont(int id, const FontDesc& font) = 0;
    virtual void SetImage(int id, int bitmapId) = 0;
    virtual void SetFocus(int id) = 0;
    // Puts control `id` right after control `afterId` in the order the Tab key walks. That order
    // is the order of making: the template's controls, then those made at run time, and a control
    // made again goes last. This lets a template control follow one made at run time.
    virtual void PlaceInFocusOrderAfter(int id, int afterId) {
        (void)id;
        (void)afterId;
    }

    // What assistive technology (a screen reader) says for a control, or for the window itself
    // (kIdWindow) beside its title. A button or a text control is named by its text, the window
    // by its title, unless a name is given here; an empty name takes the given one back. The
    // description is read after the name, when the control takes the focus. A change is told to
    // assistive technology at once, as a change of the control's name or description.
    virtual void SetAccessibleName(int id, std::wstring_view name) = 0;
    virtual void SetAccessibleDescription(int id, std::wstring_view description) = 0;

    // Progress bars.
    virtual void SetProgressRange(int id, int lowest, int highest) = 0;
    virtual void SetProgressPos(int id, int position) = 0;

    // Drop-down lists. An item goes exactly to `index`, sorted style or not, because item i
    // stands for entry i of a list kept elsewhere. The current selection is -1 when nothing is
    // selected.
    virtual void ResetItems(int id) = 0;
    virtual void InsertItem(int id, int index, std::wstring_view text) = 0;
    virtual void SetCurSel(int id, int index) = 0;
    virtual int GetCurSel(int id) = 0;
};

// Makes the windows of one toolkit.
class DialogSurfaceFactory {
  public:
    virtual ~DialogSurfaceFactory() = default;

    // A window to be built from `dialog` when it runs. `owner`, when given, is disabled while the
    // new window runs modally. Called on the window thread.
    virtual std::unique_ptr<DialogSurface> CreateSurface(const DialogTemplate& dialog,
                                                         DialogSurface* owner) = 0;
};

}  // namespace fwup
