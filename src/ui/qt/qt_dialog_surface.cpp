#include "ui/qt/qt_dialog_surface.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <atomic>

#include "text/lang_text.h"
#include "ui/qt/dialog_bitmaps.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_fonts.h"

namespace fwup {
namespace {

// Part of a blocking request from another thread: destroyed with the call object, on whichever
// thread frees it (the caller's, after the window thread ran the call), it acquires the flag the
// window thread released, so that freeing the call object comes after the window thread's use of
// it in the memory model's terms, not only through the wait inside Qt.
class RequestAcquire {
  public:
    explicit RequestAcquire(const std::atomic<bool>& ran) : ran_(&ran) {}
    RequestAcquire(const RequestAcquire&) = default;
    RequestAcquire& operator=(const RequestAcquire&) = delete;
    ~RequestAcquire() { static_cast<void>(ran_->load(std::memory_order_acquire)); }

  private:
    const std::atomic<bool>* ran_;
};

// Counts calls handed to the window thread; see HandOff.
std::atomic<unsigned> handOffs{0};

// The last member of a call object sent to the window thread. Qt hands the object over through
// futexes ThreadSanitizer cannot see, so the hand-over is made visible in the memory model's
// terms as well: the call's members are moved into Qt's call object in the order they are
// declared, so this one, moved last, releases after the others are in place, and the call
// acquires before it reads any of them.
class HandOff {
  public:
    HandOff() { Release(); }
    HandOff(const HandOff&) { Release(); }
    HandOff(HandOff&&) noexcept { Release(); }
    HandOff& operator=(const HandOff&) = delete;
    static void Acquire() { static_cast<void>(handOffs.load(std::memory_order_acquire)); }

  private:
    static void Release() { handOffs.fetch_add(1, std::memory_order_release); }
};

// A blocking request: the caller waits, so the task and the flag may live on its stack.
struct BlockingCall {
    std::shared_ptr<QtDialogSurface::Presence> presence;
    const std::function<void()>* task;
    std::atomic<bool>* ran;
    RequestAcquire acquire;
    HandOff handOff;

    void operator()() const {
        HandOff::Acquire();
        if (!presence->window.isNull()) {
            (*task)();
            ran->store(true, std::memory_order_release);
        }
    }
};

// A request nobody waits for: it owns its task.
struct PostedCall {
    std::shared_ptr<QtDialogSurface::Presence> presence;
    std::function<void()> task;
    HandOff handOff;

    void operator()() const {
        HandOff::Acquire();
        if (!presence->window.isNull()) {
            task();
        }
    }
};

// The platform's command for the Return key when no push button has the focus (IDOK).
constexpr int kDefaultCommand = 1;

// Makes a line read right to left wherever it is drawn: a label takes a paragraph's direction
// from its first strong character, not from the widget.
constexpr QChar kRightToLeftMark(0x200F);

QColor ToQColor(const Rgb& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

Qt::WindowFlags FlagsFor(const DialogTemplate& dialog, bool closeButton) {
    // A window with a task-bar button of its own is an application window, not a dialog a
    // window manager may tuck away behind its parent.
    Qt::WindowFlags flags = (dialog.style & kDialogAppWindow) != 0 ? Qt::Window : Qt::Dialog;
    // Only the hints named here decorate the window, so that a missing close item really
    // withdraws the close button.
    flags |= Qt::CustomizeWindowHint;
    if ((dialog.style & kDialogCaption) != 0) {
        flags |= Qt::WindowTitleHint;
    }
    if ((dialog.style & kDialogSystemMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint;
        if (closeButton) {
            flags |= Qt::WindowCloseButtonHint;
        }
    }
    if ((dialog.style & kDialogMinimizeBox) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if ((dialog.style & kDialogMaximizeBox) != 0) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    if ((dialog.style & kDialogModalFrame) != 0) {
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    }
    return flags;
}

Qt::Alignment HorizontalAlignment(StyleBits style) {
    if ((style & kStyleAlignCenter) != 0) {
        return Qt::AlignHCenter;
    }
    return (style & kStyleAlignRight) != 0 ? Qt::AlignRight : Qt::AlignLeft;
}

QString DisplayText(const std::wstring& text) {
    QString shown = QString::fromStdWString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

}  // namespace

// The QDialog behind a surface. It never ends on its own: the cancel key, reject() and the
// window manager's close all go to the logic, which ends the dialog through EndDialog or not.
class SurfaceWindow final : public QDialog {
  public:
    SurfaceWindow(QtDialogSurface& surface, QWidget* parent, Qt::WindowFlags flags)
        : QDialog(parent, flags), surface_(surface) {}

    void reject() override { surface_.HandleCancel(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain =
            event->modifiers() == Qt::NoModifier ||
            (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
        if (plain && event->key() == Qt::Key_Escape) {
            event->accept();
            surface_.HandleCancel();
            return;
        }
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            event->accept();
            surface_.HandleReturn();
            return;
        }
        // Not QDialog's handler: it would click a default button or reject on its own.
        QWidget::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (surface_.HandleCloseRequest()) {
            event->accept();
        } else {
            event->ignore();
        }
    }

    void changeEvent(QEvent* event) override {
        QDialog::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
            surface_.HandleActivated();
        }
    }

  private:
    QtDialogSurface& surface_;
};

QtDialogSurface::QtDialogSurface(const DialogTemplate& dialog, QtDialogSurface* owner)
    : template_(dialog),
      owner_(owner),
      presence_(std::make_shared<Presence>()),
      hasSystemMenu_((dialog.style & kDialogSystemMenu) != 0),
      closeItemPresent_(hasSystemMenu_),
      closeItemCaption_(hasSystemMenu_ ? L"&Close" : L"") {}

QtDialogSurface::~QtDialogSurface() {
    DestroyWindow();
}

QDialog* QtDialogSurface::Window() const {
    return window_.get();
}

QWidget* QtDialogSurface::ControlWidget(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second.widget.data() : nullptr;
}

int QtDialogSurface::ControlId(const QWidget* widget) const {
    for (const auto& [id, control] : controls_) {
        if (widget != nullptr && control.widget == widget) {
            return id;
        }
    }
    return 0;
}

int QtDialogSurface::RunModal() {
    if (window_) {
        return -1;  // one modal run at a time
    }
    BuildWindow();
    ended_ = false;
    endResult_ = -1;
    if (listener_ != nullptr) {
        listener_->OnInit();
    }
    if (!ended_) {
        FitClientArea();
        window_->exec();
    }
    // Anything else that stops the loop (the application quitting) is no result of the dialog.
    const int result = ended_ ? endResult_ : -1;
    DestroyWindow();
    return result;
}

void QtDialogSurface::EndDialog(int result) {
    if (!window_ || ended_) {
        return;
    }
    ended_ = true;
    endResult_ = result;
    window_->done(result);
}

bool QtDialogSurface::RunOnWindowThread(const std::function<void()>& task) {
    QCoreApplication* const application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    const std::shared_ptr<Presence> presence = presence_;
    if (QThread::currentThread() == application->thread()) {
        if (presence->window.isNull()) {
            return false;
        }
        task();
        return true;
    }
    if (!presence->alive.load()) {
        return false;
    }
    // The caller waits, so the task and the flag may live on its stack. A request still queued
    // when the application goes away is dropped, which releases the caller with false.
    //
    // The window thread's side of the request happens-before the caller's through `ran` alone,
    // not through Qt's semaphore: the window thread stores it (release) after its last use of the
    // call object and of the task, and the caller loads it (acquire) both when the call object is
    // freed, which Qt does on the caller's thread once the wait ends, and before returning.
    std::atomic<bool> ran{false};
    QMetaObject::invokeMethod(application,
                              BlockingCall{presence, &task, &ran, RequestAcquire(ran), HandOff()},
                              Qt::BlockingQueuedConnection);
    return ran.load(std::memory_order_acquire);
}

void QtDialogSurface::PostToWindowThread(std::function<void()> task) {
    QCoreApplication* const application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    const std::shared_ptr<Presence> presence = presence_;
    if (QThread::currentThread() == application->thread()) {
        if (!presence->window.isNull()) {
            task();
        }
        return;
    }
    if (!presence->alive.load()) {
        return;
    }
    // Queued to the same receiver as the blocking requests, so Qt delivers both in posting order.
    QMetaObject::invokeMethod(application, PostedCall{presence, std::move(task), HandOff()},
                              Qt::QueuedConnection);
}

bool QtDialogSurface::StartTimer(int timerId, int intervalMs) {
    if (!window_) {
        return false;
    }
    std::unique_ptr<QTimer>& timer = timers_[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, timerId] {
            if (listener_ != nullptr && !ended_) {
                listener_->OnTimer(timerId);
            }
        });
    }
    timer->start(intervalMs);
    return true;
}

void QtDialogSurface::StopTimer(int timerId) {
    const auto found = timers_.find(timerId);
    if (found != timers_.end()) {
        found->second->stop();
    }
}

void QtDialogSurface::SetTitle(std::wstring_view title) {
    if (window_) {
        window_->setWindowTitle(QString::fromStdWString(std::wstring(title)));
    }
}

void QtDialogSurface::SetIcon(int iconId) {
    if (window_ && iconId == kIdiApp) {
        window_->setWindowIcon(AppIcon());
    }
}

void QtDialogSurface::SetDialogRtlReading(bool on) {
    rtlReading_ = on;
    // Controls carry their own direction (see ApplyStyle), so this reaches the window alone.
    if (window_) {
        window_->setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight);
    }
}

std::wstring QtDialogSurface::CloseMenuItemCaption() {
    return closeItemPresent_ ? closeItemCaption_ : std::wstring();
}

bool QtDialogSurface::RemoveCloseMenuItem() {
    if (!hasSystemMenu_) {
        return false;
    }
    closeItemPresent_ = false;
    ApplyCloseButton();
    return true;
}

bool QtDialogSurface::AppendCloseMenuItem(std::wstring_view caption) {
    if (!hasSystemMenu_) {
        return false;
    }
    closeItemPresent_ = true;
    closeItemCaption_ = caption;
    ApplyCloseButton();
    return true;
}

void QtDialogSurface::CreateControl(const ControlDesc& desc) {
    if (!window_) {
        return;
    }
    if (const auto old = controls_.find(desc.id); old != controls_.end()) {
        if (QWidget* widget = old->second.widget.data()) {
            widget->hide();
            widget->deleteLater();
        }
        controls_.erase(old);
    }

    SurfaceWindow* const parent = window_.get();
    QWidget* widget = nullptr;
    switch (desc.kind) {
        case ControlKind::kPushButton: {
            auto* button = new QPushButton(parent);
            // Return is the dialog's business (HandleReturn), not a button's.
            button->setAutoDefault(false);
            const int id = desc.id;
            QObject::connect(button, &QPushButton::clicked, parent, [this, id] {
                if (listener_ != nullptr && !ended_) {
                    listener_->OnCommand(id);
                }
            });
            widget = button;
            break;
        }
        case ControlKind::kStaticText: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            // The platform's static texts wrap at word boundaries, whatever their alignment.
            label->setWordWrap(true);
            widget = label;
            break;
        }
        case ControlKind::kPicture: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = picture;
            break;
        }
        case ControlKind::kEdit: {
            auto* edit = new QTextEdit(parent);
            edit->setAcceptRichText(false);
            edit->setUndoRedoEnabled(false);
            edit->setTabChangesFocus(true);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (!desc.defaultColours) {
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Base, ToQColor(template_.background));
                edit->setPalette(palette);
            }
            widget = edit;
            break;
        }
        case ControlKind::kDropDownList: {
            auto* list = new QComboBox(parent);
            list->setEditable(false);
            // The user's choice alone, by mouse or keyboard; setCurrentIndex does not activate.
            const int id = desc.id;
            QObject::connect(list, &QComboBox::activated, parent,
                             [this, id] { HandleListChoice(id); });
            widget = list;
            break;
        }
        case ControlKind::kProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
    }
    if (desc.font) {
        widget->setFont(CachedFont(*desc.font));
    }
    widget->setVisible(desc.visible);

    Control& control = controls_[desc.id];
    control.kind = desc.kind;
    control.widget = widget;
    control.style = desc.style;
    Place(control, desc.rect);
    ApplyStyle(control);
}

void QtDialogSurface::SetText(int id, std::wstring_view text) {
    if (Control* control = Find(id)) {
        control->text = text;
        ShowText(*control);
    }
}

std::wstring QtDialogSurface::GetText(int id) {
    const Control* control = Find(id);
    return control != nullptr ? control->text : std::wstring();
}

void QtDialogSurface::Show(int id, bool visible) {
    if (Control* control = Find(id)) {
        QWidget* const focus = window_ ? window_->focusWidget() : nullptr;
        if (!visible && focus != nullptr &&
            (focus == control->widget || control->widget->isAncestorOf(focus))) {
            // Qt would pass the focus of a hidden control to the next one in the tab order,
            // which a screen reader then announces; where the focus goes is the logic's call.
            focus->clearFocus();
        }
        control->widget->setVisible(visible);
    }
}

void QtDialogSurface::Enable(int id, bool enabled) {
    if (Control* control = Find(id)) {
        control->widget->setEnabled(enabled);
    }
}

void QtDialogSurface::Move(int id, const PixelRect& rect) {
    if (Control* control = Find(id)) {
        Place(*control, rect);
        control->widget->update();
    }
}

// A drop-down list's rectangle is the platform's: its height is the list's when dropped down.
// Qt sizes the popup itself, so the control keeps the height of its selection field.
void QtDialogSurface::Place(Control& control, const PixelRect& rect) {
    QWidget* const widget = control.widget.data();
    const int height =
        control.kind == ControlKind::kDropDownList ? widget->sizeHint().height() : rect.height;
    widget->setGeometry(rect.x, rect.y, rect.width, height);
}

void QtDialogSurface::ChangeStyle(int id, StyleBits remove, StyleBits add) {
    if (Control* control = Find(id)) {
        control->style = (control->style & ~remove) | add;
        ApplyStyle(*control);
    }
}

void QtDialogSurface::SetFont(int id, const FontDesc& font) {
    if (Control* control = Find(id)) {
        QWidget* const widget = control->widget.data();
        widget->setFont(CachedFont(font));
        if (control->kind == ControlKind::kDropDownList) {
            widget->resize(widget->width(), widget->sizeHint().height());
        }
    }
}

void QtDialogSurface::SetImage(int id, int bitmapId) {
    Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::kPicture) {
        return;
    }
    auto* picture = static_cast<QLabel*>(control->widget.data());
    const QPixmap pixmap = DialogBitmap(bitmapId, window_->devicePixelRatioF());
    picture->setPixmap(pixmap);
    // A picture control takes the size of its bitmap and keeps its top-left corner.
    if (!pixmap.isNull()) {
        picture->resize(pixmap.deviceIndependentSize().toSize());
    }
}

void QtDialogSurface::SetFocus(int id) {
    if (Control* control = Find(id)) {
        control->widget->setFocus(Qt::OtherFocusReason);
    }
}

// Tab follows Qt's focus chain, which is the order the widgets were made in.
void QtDialogSurface::PlaceInFocusOrderAfter(int id, int afterId) {
    Control* control = Find(id);
    Control* after = Find(afterId);
    if (control != nullptr && after != nullptr && control != after) {
        QWidget::setTabOrder(after->widget.data(), control->widget.data());
    }
}

QWidget* QtDialogSurface::AccessibleTarget(int id) {
    if (id == kIdWindow) {
        return window_.get();
    }
    Control* control = Find(id);
    return control != nullptr ? control->widget.data() : nullptr;
}

// Qt tells assistive technology of both changes itself. On Linux Qt names a drop-down list by the
// entry it shows, the given name only while it shows none, as the desktop's screen readers take
// a list's label from a relation and read its entry as the name.
void QtDialogSurface::SetAccessibleName(int id, std::wstring_view name) {
    if (QWidget* widget = AccessibleTarget(id)) {
        widget->setAccessibleName(QString::fromStdWString(std::wstring(name)));
    }
}

void QtDialogSurface::SetAccessibleDescription(int id, std::wstring_view description) {
    if (QWidget* widget = AccessibleTarget(id)) {
        widget->setAccessibleDescription(QString::fromStdWString(std::wstring(description)));
    }
}

void QtDialogSurface::SetProgressRange(int id, int lowest, int highest) {
    Control* control = Find(id);
    if (control != nullptr && control->kind == ControlKind::kProgressBar) {
        static_cast<QProgressBar*>(control->widget.data())->setRange(lowest, highest);
    }
}

void QtDialogSurface::SetProgressPos(int id, int position) {
    Control* control = Find(id);
    if (control != nullptr && control->kind == ControlKind::kProgressBar) {
        static_cast<QProgressBar*>(control->widget.data())->setValue(position);
    }
}

void QtDialogSurface::ResetItems(int id) {
    Control* control = Find(id);
    if (control != nullptr && control->kind == ControlKind::kDropDownList) {
        static_cast<QComboBox*>(control->widget.data())->clear();
        NoteSelection(*control);
    }
}

void QtDialogSurface::InsertItem(int id, int index, std::wstring_view text) {
    Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::kDropDownList) {
        return;
    }
    auto* list = static_cast<QComboBox*>(control->widget.data());
    const int before = list->currentIndex();
    list->insertItem(std::clamp(index, 0, list->count()),
                     QString::fromStdWString(std::wstring(text)));
    // Qt selects the first item put into an empty list; the platform's list selects nothing
    // until told to.
    if (before == -1) {
        list->setCurrentIndex(-1);
    }
    NoteSelection(*control);
}

void QtDialogSurface::SetCurSel(int id, int index) {
    Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::kDropDownList) {
        return;
    }
    auto* list = static_cast<QComboBox*>(control->widget.data());
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    NoteSelection(*control);
}

void QtDialogSurface::NoteSelection(Control& control) {
    control.knownSelection = static_cast<QComboBox*>(control.widget.data())->currentIndex();
}

int QtDialogSurface::GetCurSel(int id) {
    Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::kDropDownList) {
        return -1;
    }
    return static_cast<QComboBox*>(control->widget.data())->currentIndex();
}

void QtDialogSurface::HandleCancel() {
    if (listener_ != nullptr && !ended_) {
        listener_->OnCancel();
    }
}

void QtDialogSurface::HandleReturn() {
    if (listener_ == nullptr || ended_) {
        return;
    }
    // As on the platform: a push button with the focus is the default one; otherwise the
    // dialog's default button (unless disabled), or command 1 when it has none.
    const QWidget* focus = window_->focusWidget();
    for (const auto& [id, control] : controls_) {
        if (control.widget.isNull() || control.widget != focus) {
            continue;
        }
        if (control.kind == ControlKind::kPushButton) {
            listener_->OnCommand(id);
            return;
        }
        if (control.kind == ControlKind::kEdit && (control.style & kStyleWantReturn) != 0) {
            return;  // a line break for the edit, not a command
        }
    }
    int command = kDefaultCommand;
    for (const auto& [id, control] : controls_) {
        if (!control.widget.isNull() && control.kind == ControlKind::kPushButton &&
            (control.style & kStyleDefaultButton) != 0) {
            if (!control.widget->isEnabled()) {
                return;
            }
            command = id;
        }
    }
    listener_->OnCommand(command);
}

bool QtDialogSurface::HandleCloseRequest() {
    // Without its close item the window cannot be closed at all, as on the platform.
    if (hasSystemMenu_ && !closeItemPresent_) {
        return false;
    }
    if (listener_ == nullptr || ended_) {
        return false;
    }
    return listener_->OnCloseRequest();
}

void QtDialogSurface::HandleActivated() {
    if (listener_ != nullptr && !ended_) {
        listener_->OnFocus();
    }
}

// Qt activates an entry the user picks again as well; the logic hears only of another one.
void QtDialogSurface::HandleListChoice(int id) {
    Control* control = Find(id);
    if (control == nullptr) {
        return;
    }
    const int before = control->knownSelection;
    NoteSelection(*control);
    if (control->knownSelection != before && listener_ != nullptr && !ended_) {
        listener_->OnSelectionChange(id);
    }
}

void QtDialogSurface::BuildWindow() {
    QWidget* const parent = owner_ != nullptr ? owner_->Window() : nullptr;
    window_ =
        std::make_unique<SurfaceWindow>(*this, parent, FlagsFor(template_, closeItemPresent_));
    // The process ends when start-up says so, not when Qt sees its last window close.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    window_->setWindowTitle(QString::fromStdWString(std::wstring(template_.caption)));
    window_->setLayoutDirection(rtlReading_ ? Qt::RightToLeft : Qt::LeftToRight);

    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, ToQColor(template_.background));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);

    const QFont font = TemplateFont(template_, WritingSystemForLanguage(UiLangId.load()));
    window_->setFont(font);
    const DialogBaseUnits units = MeasureBaseUnits(font);
    window_->setFixedSize(DialogSizeToPixels(template_.width, template_.height, units));

    presence_->window = window_.get();
    presence_->alive.store(true);

    for (const TemplateControl& control : template_.controls) {
        const QRect rect = DialogUnitsToPixels(control.rect, units);
        CreateControl({.id = control.id,
                       .kind = control.kind,
                       .rect = {rect.x(), rect.y(), rect.width(), rect.height()},
                       .style = control.style,
                       .visible = control.visible});
        if (control.bitmapId != 0) {
            SetImage(control.id, control.bitmapId);
        }
    }
}

void QtDialogSurface::DestroyWindow() {
    presence_->alive.store(false);
    timers_.clear();
    controls_.clear();
    const bool hadWindow = window_ != nullptr;
    window_.reset();
    // As the platform does when a modal dialog ends: the keyboard goes back to the owner, so that
    // its focused control (Start) is the focused one again even where no window manager hands
    // the activation back.
    if (hadWindow && owner_ != nullptr && owner_->Window() != nullptr) {
        owner_->Window()->activateWindow();
    }
}

// The pixel layout was drawn for the platform's dialog font; where the font here makes the
// template smaller, the window grows so that no control is cut off.
void QtDialogSurface::FitClientArea() {
    QRect extent;
    for (const auto& [id, control] : controls_) {
        if (!control.widget.isNull()) {
            extent |= control.widget->geometry();
        }
    }
    const QSize needed(extent.x() + extent.width(), extent.y() + extent.height());
    window_->setFixedSize(window_->size().expandedTo(needed));
}

void QtDialogSurface::ApplyCloseButton() {
    if (!window_) {
        return;
    }
    Qt::WindowFlags flags = window_->windowFlags();
    flags.setFlag(Qt::WindowCloseButtonHint, closeItemPresent_);
    if (flags == window_->windowFlags()) {
        return;
    }
    // setWindowFlags would re-create the native window, hiding it; the flags are told to the
    // existing one instead.
    window_->overrideWindowFlags(flags);
    if (QWindow* handle = window_->windowHandle()) {
        handle->setFlags(flags);
    }
}

void QtDialogSurface::ApplyStyle(Control& control) {
    QWidget* const widget = control.widget.data();
    const StyleBits style = control.style;
    // Mirroring is the control's own: a right-to-left window does not mirror its children.
    widget->setLayoutDirection((style & kStyleLayoutRtl) != 0 ? Qt::RightToLeft : Qt::LeftToRight);
    // Absolute, because an alignment names a side of the control, whatever the reading order.
    const Qt::Alignment horizontal = HorizontalAlignment(style) | Qt::AlignAbsolute;
    switch (control.kind) {
        case ControlKind::kStaticText: {
            auto* label = static_cast<QLabel*>(widget);
            label->setAlignment(horizontal | Qt::AlignTop);
            label->setFrameShape((style & kStyleBorder) != 0 ? QFrame::Box : QFrame::NoFrame);
            ShowText(control);
            break;
        }
        case ControlKind::kEdit: {
            auto* edit = static_cast<QTextEdit*>(widget);
            edit->setReadOnly((style & kStyleReadOnly) != 0);
            edit->setVerticalScrollBarPolicy((style & kStyleVScroll) != 0 ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAlwaysOff);
            edit->setLineWrapMode((style & kStyleMultiLine) != 0 ? QTextEdit::WidgetWidth
                                                                 : QTextEdit::NoWrap);
            edit->setFrameShape((style & kStyleBorder) != 0 ? QFrame::StyledPanel
                                                            : QFrame::NoFrame);
            edit->setFocusPolicy((style & kStyleTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
            QTextOption option = edit->document()->defaultTextOption();
            option.setAlignment(horizontal);
            option.setTextDirection((style & kStyleRtlReading) != 0 ? Qt::RightToLeft
                                                                    : Qt::LeftToRight);
            edit->document()->setDefaultTextOption(option);
            break;
        }
        case ControlKind::kPushButton: {
            auto* button = static_cast<QPushButton*>(widget);
            button->setDefault((style & kStyleDefaultButton) != 0);
            button->setFocusPolicy((style & kStyleTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
            break;
        }
        case ControlKind::kDropDownList:
            widget->setFocusPolicy((style & kStyleTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
            // A combo box draws its entry at the start of its reading direction and has no
            // alignment of its own: a right-to-left list reads and aligns from the right, with
            // its arrow on the left as on a right-to-left desktop.
            if ((style & (kStyleRtlReading | kStyleAlignRight)) != 0) {
                widget->setLayoutDirection(Qt::RightToLeft);
            }
            break;
        case ControlKind::kPicture:
        case ControlKind::kProgressBar:
            break;
    }
}

void QtDialogSurface::ShowText(Control& control) {
    QString shown = DisplayText(control.text);
    switch (control.kind) {
        case ControlKind::kStaticText:
            if ((control.style & kStyleRtlReading) != 0 && !shown.isEmpty()) {
                // Each line is a paragraph of its own to the label, each with its own direction.
                // The marks are for the drawing: a screen reader hears the text without them.
                control.widget->setAccessibleName(shown);
                control.markedName = true;
                shown.replace(QLatin1Char('\n'), QString(QLatin1Char('\n')) + kRightToLeftMark);
                shown.prepend(kRightToLeftMark);
            } else if (control.markedName) {
                control.widget->setAccessibleName(QString());
                control.markedName = false;
            }
            static_cast<QLabel*>(control.widget.data())->setText(shown);
            break;
        case ControlKind::kPushButton:
            static_cast<QPushButton*>(control.widget.data())->setText(shown);
            break;
        case ControlKind::kEdit:
            static_cast<QTextEdit*>(control.widget.data())->setPlainText(shown);
            break;
        case ControlKind::kPicture:
        case ControlKind::kDropDownList:
        case ControlKind::kProgressBar:
            break;  // their window text is never drawn
    }
}

QtDialogSurface::Control* QtDialogSurface::Find(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end() || found->second.widget.isNull()) {
        return nullptr;
    }
    return &found->second;
}

QFont QtDialogSurface::CachedFont(const FontDesc& desc) {
    const QFontDatabase::WritingSystem script = WritingSystemForLanguage(UiLangId.load());
    for (const CachedQFont& cached : fonts_) {
        if (cached.desc == desc && cached.script == script) {
            return cached.font;
        }
    }
    fonts_.push_back({desc, script, FontFromDesc(desc, script)});
    return fonts_.back().font;
}

std::unique_ptr<DialogSurface> QtDialogSurfaceFactory::CreateSurface(const DialogTemplate& dialog,
                                                                     DialogSurface* owner) {
    return std::make_unique<QtDialogSurface>(dialog, dynamic_cast<QtDialogSurface*>(owner));
}

}  // namespace fwup
