#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"

namespace fwup::testing {

struct RecordedControl {
    ControlKind kind = ControlKind::kStaticText;
    bool fromTemplate = false;
    PixelRect rect;  // run-time controls, and template controls once moved
    StyleBits style = kStyleNone;
    bool visible = true;
    bool enabled = true;
    std::wstring text;
    int textSets = 0;
    std::optional<FontDesc> font;
    bool defaultColours = false;
    int image = 0;
    int progressLowest = 0;
    int progressHighest = 100;
    int progressPos = 0;
    std::vector<std::wstring> items;
    int curSel = -1;
    int userSelections = 0;  // choices the user made (UserSelects), changing the selection or not
    std::wstring accessibleName;
    std::wstring accessibleDescription;
};

// Everything a window showed, kept by value so that it outlives the window.
struct SurfaceRecord {
    const DialogTemplate* dialog = nullptr;
    const void* owner = nullptr;
    std::map<int, RecordedControl> controls;
    std::vector<int> createdOrder;
    // Every control in the order the Tab key walks: the template's, then those made at run time
    // (a control made again goes last), as moved by PlaceInFocusOrderAfter.
    std::vector<int> focusOrder;
    std::vector<int> createdTwice;  // ids created while a control with the id existed
    std::wstring title;
    std::wstring accessibleName;  // of the window itself
    std::wstring accessibleDescription;
    int iconId = 0;
    bool rtlReading = false;
    bool hasSystemMenu = false;
    bool closeItemPresent = false;
    std::wstring closeItemCaption;
    int focusId = 0;
    int modalRuns = 0;
    bool ended = false;
    int endResult = 0;
    int windowThreadRequests = 0;
    int windowThreadPosts = 0;  // requests that did not wait
    // Operations made from a thread other than the window's outside RunOnWindowThread.
    int unmarshalledCalls = 0;
};

// A dialog surface without a display: records every control's state, lets tests fire the
// window's events, and runs RunOnWindowThread inline on the calling thread (serialised, so a test
// may call in from a std::thread). The thread that constructs it is its window thread.
class RecordingDialogSurface final : public DialogSurface, public SurfaceRecord {
  public:
    explicit RecordingDialogSurface(const DialogTemplate& dialog = kMainDialogTemplate,
                                    const DialogSurface* ownerSurface = nullptr,
                                    std::wstring systemCloseCaption = L"&Close\tAlt+F4")
        : windowThread_(std::this_thread::get_id()) {
        this->dialog = &dialog;
        owner = ownerSurface;
        hasSystemMenu = (dialog.style & kDialogSystemMenu) != 0;
        closeItemPresent = hasSystemMenu;
        closeItemCaption = hasSystemMenu ? std::move(systemCloseCaption) : std::wstring();
        for (const TemplateControl& control : dialog.controls) {
            RecordedControl& recorded = controls[control.id];
            recorded.kind = control.kind;
            recorded.fromTemplate = true;
            recorded.style = control.style;
            recorded.visible = control.visible;
            recorded.image = control.bitmapId;
            focusOrder.push_back(control.id);
        }
    }
    ~RecordingDialogSurface() override {
        if (onDestroyed) {
            onDestroyed(*this);
        }
    }
    RecordingDialogSurface(const RecordingDialogSurface&) = delete;
    RecordingDialogSurface& operator=(const RecordingDialogSurface&) = delete;

    // What the user does while RunModal runs, after OnInit.
    std::function<void(RecordingDialogSurface&)> modalScript;
    std::function<void(const SurfaceRecord&)> onDestroyed;
    // Makes RunOnWindowThread refuse, as for a window that has been destroyed.
    bool windowGone = false;
    // Whether StartTimer works, and the timers running (id to interval).
    bool timersSupported = false;
    std::map<int, int> runningTimers;

    const RecordedControl& Control(int id) const {
        static const RecordedControl missing{};
        const auto found = controls.find(id);
        return found != controls.end() ? found->second : missing;
    }
    bool Has(int id) const { return controls.count(id) != 0; }

    // Events, as the toolkit would deliver them; none arrives after the dialog has ended.
    void FireInit() {
        if (listener_ != nullptr) {
            listener_->OnInit();
        }
    }
    void FireCommand(int id) {
        if (listener_ != nullptr && !ended) {
            listener_->OnCommand(id);
        }
    }
    void FireCancel() {
        if (listener_ != nullptr && !ended) {
            listener_->OnCancel();
        }
    }
    bool FireCloseRequest() {
        return listener_ != nullptr && !ended && listener_->OnCloseRequest();
    }
    void FireFocus() {
        if (listener_ != nullptr && !ended) {
            listener_->OnFocus();
        }
    }
    // The user chooses entry `index` of a drop-down list (-1 or past the end: none). Reported as
    // the toolkits report it: only when the selection becomes another one.
    void UserSelects(int id, int index) {
        auto* control = Find(id);
        if (control == nullptr || ended) {
            return;
        }
        const int before = control->curSel;
        SetCurSel(id, index);
        ++control->userSelections;
        if (listener_ != nullptr && control->curSel != before) {
            listener_->OnSelectionChange(id);
        }
    }

    // The control the Tab key moves to from `fromId`: the next one in focusOrder, wrapping round,
    // that is visible, enabled and a tab stop. 0 when there is none.
    int NextInTabOrder(int fromId) const {
        const auto from = std::find(focusOrder.begin(), focusOrder.end(), fromId);
        if (from == focusOrder.end()) {
            return 0;
        }
        const std::size_t start = static_cast<std::size_t>(from - focusOrder.begin());
        for (std::size_t step = 1; step <= focusOrder.size(); ++step) {
            const int id = focusOrder[(start + step) % focusOrder.size()];
            const RecordedControl& control = Control(id);
            if (control.visible && control.enabled && (control.style & kStyleTabStop) != 0) {
                return id;
            }
        }
        return 0;
    }

    void SetListener(DialogListener* listener) override { listener_ = listener; }

    // Returns -1 when the script left the dialog running: a real modal loop would still wait.
    int RunModal() override {
        ++modalRuns;
        FireInit();
        if (modalScript) {
            modalScript(*this);
        }
        return ended ? endResult : -1;
    }
    void EndDialog(int result) override {
        Note();
        ended = true;
        endResult = result;
    }

    bool RunOnWindowThread(const std::function<void()>& task) override {
        std::lock_guard<std::recursive_mutex> lock(requestMutex_);
        if (windowGone) {
            return false;
        }
        ++windowThreadRequests;
        const std::thread::id outer = servicing_;
        servicing_ = std::this_thread::get_id();
        task();
        servicing_ = outer;
        return true;
    }
    bool StartTimer(int timerId, int intervalMs) override {
        if (!timersSupported) {
            return false;
        }
        runningTimers[timerId] = intervalMs;
        return true;
    }
    void StopTimer(int timerId) override { runningTimers.erase(timerId); }
    // What the toolkit would do once the timer's interval has passed.
    void FireTimer(int timerId) {
        if (listener_ != nullptr && !ended && runningTimers.count(timerId) != 0) {
            listener_->OnTimer(timerId);
        }
    }
    void PostToWindowThread(std::function<void()> task) override {
        std::lock_guard<std::recursive_mutex> lock(requestMutex_);
        ++windowThreadPosts;
        if (windowGone) {
            return;
        }
        const std::thread::id outer = servicing_;
        servicing_ = std::this_thread::get_id();
        task();
        servicing_ = outer;
    }

    void SetTitle(std::wstring_view text) override {
        Note();
        title = text;
    }
    void SetIcon(int id) override {
        Note();
        iconId = id;
    }
    void SetDialogRtlReading(bool on) override {
        Note();
        rtlReading = on;
    }

    std::wstring CloseMenuItemCaption() override {
        Note();
        return closeItemPresent ? closeItemCaption : std::wstring();
    }
    bool RemoveCloseMenuItem() override {
        Note();
        closeItemPresent = false;
        return hasSystemMenu;
    }
    bool AppendCloseMenuItem(std::wstring_view caption) override {
        Note();
        if (!hasSystemMenu) {
            return false;
        }
        closeItemPresent = true;
        closeItemCaption = caption;
        return true;
    }
    bool HasCloseMenuItem() override {
        Note();
        return closeItemPresent;
    }

    void CreateControl(const ControlDesc& desc) override {
        Note();
        if (controls.count(desc.id) != 0) {
            createdTwice.push_back(desc.id);
        }
        RecordedControl& control = controls[desc.id];
        control = RecordedControl{};
        control.kind = desc.kind;
        control.rect = desc.rect;
        control.style = desc.style;
        control.visible = desc.visible;
        control.font = desc.font;
        control.defaultColours = desc.defaultColours;
        createdOrder.push_back(desc.id);
        std::erase(focusOrder, desc.id);
        focusOrder.push_back(desc.id);
    }
    void SetText(int id, std::wstring_view text) override {
        if (auto* control = Find(id)) {
            control->text = text;
            ++control->textSets;
        }
    }
    std::wstring GetText(int id) override {
        const auto* control = Find(id);
        return control != nullptr ? control->text : std::wstring();
    }
    void Show(int id, bool visible) override {
        if (auto* control = Find(id)) {
            control->visible = visible;
        }
    }
    void Enable(int id, bool enabled) override {
        if (auto* control = Find(id)) {
            control->enabled = enabled;
        }
    }
    void Move(int id, const PixelRect& rect) override {
        if (auto* control = Find(id)) {
            control->rect = rect;
        }
    }
    void ChangeStyle(int id, StyleBits remove, StyleBits add) override {
        if (auto* control = Find(id)) {
            control->style = (control->style & ~remove) | add;
        }
    }
    void SetFont(int id, const FontDesc& font) override {
        if (auto* control = Find(id)) {
            control->font = font;
        }
    }
    void SetImage(int id, int bitmapId) override {
        if (auto* control = Find(id)) {
            control->image = bitmapId;
        }
    }
    void SetFocus(int id) override {
        Note();
        focusId = id;
    }
    void PlaceInFocusOrderAfter(int id, int afterId) override {
        Note();
        if (id == afterId || !Has(id) || !Has(afterId)) {
            return;
        }
        std::erase(focusOrder, id);
        focusOrder.insert(std::find(focusOrder.begin(), focusOrder.end(), afterId) + 1, id);
    }
    void SetAccessibleName(int id, std::wstring_view name) override {
        if (id == kIdWindow) {
            Note();
            accessibleName = name;
        } else if (auto* control = Find(id)) {
            control->accessibleName = name;
        }
    }
    void SetAccessibleDescription(int id, std::wstring_view description) override {
        if (id == kIdWindow) {
            Note();
            accessibleDescription = description;
        } else if (auto* control = Find(id)) {
            control->accessibleDescription = description;
        }
    }
    void SetProgressRange(int id, int lowest, int highest) override {
        if (auto* control = Find(id)) {
            control->progressLowest = lowest;
            control->progressHighest = highest;
        }
    }
    void SetProgressPos(int id, int position) override {
        if (auto* control = Find(id)) {
            control->progressPos = position;
        }
    }
    void ResetItems(int id) override {
        if (auto* control = Find(id)) {
            control->items.clear();
            control->curSel = -1;
        }
    }
    void InsertItem(int id, int index, std::wstring_view text) override {
        if (auto* control = Find(id)) {
            const auto at =
                std::min<std::size_t>(static_cast<std::size_t>(index), control->items.size());
            control->items.insert(control->items.begin() + static_cast<std::ptrdiff_t>(at),
                                  std::wstring(text));
        }
    }
    void SetCurSel(int id, int index) override {
        if (auto* control = Find(id)) {
            const bool valid =
                index >= 0 && static_cast<std::size_t>(index) < control->items.size();
            control->curSel = valid ? index : -1;
        }
    }
    int GetCurSel(int id) override {
        const auto* control = Find(id);
        return control != nullptr ? control->curSel : -1;
    }

  private:
    void Note() {
        const std::thread::id caller = std::this_thread::get_id();
        if (caller != windowThread_ && caller != servicing_) {
            ++unmarshalledCalls;
        }
    }
    RecordedControl* Find(int id) {
        Note();
        const auto found = controls.find(id);
        return found != controls.end() ? &found->second : nullptr;
    }

    const std::thread::id windowThread_;
    std::thread::id servicing_;
    std::recursive_mutex requestMutex_;
    DialogListener* listener_ = nullptr;
};

// Makes recording surfaces, handing each the next script, and keeps what every finished window
// showed.
class RecordingSurfaceFactory final : public DialogSurfaceFactory {
  public:
    std::deque<std::function<void(RecordingDialogSurface&)>> scripts;
    std::vector<SurfaceRecord> finished;

    std::unique_ptr<DialogSurface> CreateSurface(const DialogTemplate& dialog,
                                                 DialogSurface* owner) override {
        auto surface = std::make_unique<RecordingDialogSurface>(dialog, owner);
        if (!scripts.empty()) {
            surface->modalScript = std::move(scripts.front());
            scripts.pop_front();
        }
        surface->onDestroyed = [this](const SurfaceRecord& record) { finished.push_back(record); };
        return surface;
    }
};

}  // namespace fwup::testing
