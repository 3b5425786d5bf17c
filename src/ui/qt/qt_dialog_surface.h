#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"

class QDialog;
class QWidget;

namespace fwup {

class SurfaceWindow;

// A dialog surface over a Qt 6 Widgets QDialog. The window is built from its template when
// RunModal starts (dialog units converted with the measured dialog font), lives while the modal
// loop runs and is destroyed before RunModal returns. Controls are Qt children of the window,
// addressed by id. The thread that runs RunModal, Qt's GUI thread, is the window thread.
//
// The platform's system menu has no Qt counterpart: its close item is kept as state. Without it
// the window manager's close button is withdrawn and every close request is refused before the
// logic is asked; with it, close requests go to the logic, which decides.
class QtDialogSurface final : public DialogSurface {
  public:
    // `owner`, when given, becomes the Qt parent of the window, so the window stays above it and
    // the owner takes no input while this one runs. The owner must outlive the modal run.
    explicit QtDialogSurface(const DialogTemplate& dialog, QtDialogSurface* owner = nullptr);
    ~QtDialogSurface() override;
    QtDialogSurface(const QtDialogSurface&) = delete;
    QtDialogSurface& operator=(const QtDialogSurface&) = delete;

    // The window while RunModal runs, null otherwise. Window thread only.
    QDialog* Window() const;
    // The control with `id`, null when the window does not hold one. Window thread only.
    QWidget* ControlWidget(int id) const;
    // The id of the control that `widget` is, 0 when it is none of them. Window thread only.
    int ControlId(const QWidget* widget) const;

    void SetListener(DialogListener* listener) override { listener_ = listener; }
    int RunModal() override;
    void EndDialog(int result) override;
    bool RunOnWindowThread(const std::function<void()>& task) override;
    void PostToWindowThread(std::function<void()> task) override;
    bool StartTimer(int timerId, int intervalMs) override;
    void StopTimer(int timerId) override;

    void SetTitle(std::wstring_view title) override;
    void SetIcon(int iconId) override;
    void SetDialogRtlReading(bool on) override;

    std::wstring CloseMenuItemCaption() override;
    bool RemoveCloseMenuItem() override;
    bool AppendCloseMenuItem(std::wstring_view caption) override;
    bool HasCloseMenuItem() override { return closeItemPresent_; }

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

    // What a request from another thread checks on the window thread before it runs: the
    // surface object itself may be gone by the time a queued request is serviced.
    struct Presence {
        QPointer<QDialog> window;        // window thread only
        std::atomic<bool> alive{false};  // any thread: a quick refusal without queuing
    };

  private:
    friend class SurfaceWindow;

    struct CachedQFont {
        FontDesc desc;
        QFontDatabase::WritingSystem script = QFontDatabase::Any;
        QFont font;
    };

    struct Control {
        ControlKind kind = ControlKind::kStaticText;
        QPointer<QWidget> widget;
        StyleBits style = kStyleNone;
        std::wstring text;        // as set, so that GetText gives back exactly that
        bool markedName = false;  // the accessible name is the text without its direction marks
        int knownSelection = -1;  // a drop-down list's, as the logic last set or heard it
    };

    // Events from the window, delivered to the logic unless the dialog has ended.
    void HandleCancel();
    void HandleReturn();
    bool HandleCloseRequest();
    void HandleActivated();
    void HandleListChoice(int id);

    void BuildWindow();
    void DestroyWindow();
    void FitClientArea();
    void ApplyCloseButton();
    void ApplyStyle(Control& control);
    void Place(Control& control, const PixelRect& rect);
    void NoteSelection(Control& control);
    void ShowText(Control& control);
    Control* Find(int id);
    QWidget* AccessibleTarget(int id);  // the window for kIdWindow
    QFont CachedFont(const FontDesc& desc);

    const DialogTemplate& template_;
    QtDialogSurface* const owner_;
    DialogListener* listener_ = nullptr;
    std::unique_ptr<SurfaceWindow> window_;
    const std::shared_ptr<Presence> presence_;
    std::map<int, Control> controls_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::vector<CachedQFont> fonts_;
    bool ended_ = false;
    int endResult_ = -1;
    bool rtlReading_ = false;
    const bool hasSystemMenu_;
    bool closeItemPresent_;
    std::wstring closeItemCaption_;
};

// Makes Qt dialog surfaces. The owner handed to CreateSurface must be one of its surfaces.
class QtDialogSurfaceFactory final : public DialogSurfaceFactory {
  public:
    std::unique_ptr<DialogSurface> CreateSurface(const DialogTemplate& dialog,
                                                 DialogSurface* owner) override;
};

}  // namespace fwup
