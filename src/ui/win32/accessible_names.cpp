#include "ui/win32/accessible_names.h"

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <string>

namespace fwup::win32 {
namespace {

// IID_IAccessible is taken from the header (__uuidof): MinGW's oleacc import library exports a
// symbol of that name that is no interface id, and the linker may pick it.

// Tells this subclass from any other the window may carry. The texts hang on the window as a
// property, which says whether the window is subclassed already.
constexpr UINT_PTR kAccessibleTextsId = 0x0A11;
constexpr wchar_t kTextsProperty[] = L"viruzu-fwup.accessibleTexts";

struct AccessibleTexts {
    std::wstring name;
    std::wstring description;
};

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's own accessible object of a window, with the name and description replaced. It
// holds copies of the texts, so that a screen reader keeping it after the window has gone reads
// nothing freed.
class NamedAccessible final : public IAccessible {
  public:
    NamedAccessible(IAccessible* system, AccessibleTexts texts)
        : system_(system), texts_(std::move(texts)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The children's enumeration and the like stay the system's.
        return system_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return system_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return system_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return system_->Invoke(id, iid, locale, flags, params, result, exception, badArgument);
    }

    // IAccessible: the two texts when given, everything else the system's.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsSelf(child) && !texts_.name.empty()) {
            return ReturnText(texts_.name, name);
        }
        return system_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (IsSelf(child) && !texts_.description.empty()) {
            return ReturnText(texts_.description, description);
        }
        return system_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return system_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return system_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return system_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return system_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return system_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return system_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return system_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return system_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return system_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return system_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return system_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return system_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return system_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system_->put_accValue(child, value);
    }

  private:
    ~NamedAccessible() { system_->Release(); }

    IAccessible* const system_;
    const AccessibleTexts texts_;
    std::atomic<ULONG> references_{1};
};

// Answers a screen reader's question for the window's client object with the named one.
LRESULT CALLBACK AnswerWithTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
    auto* texts = reinterpret_cast<AccessibleTexts*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* system = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&system)))) {
            auto* named = new NamedAccessible(system, *texts);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, named);
            named->Release();
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &AnswerWithTexts, kAccessibleTextsId);
        RemovePropW(window, kTextsProperty);
        delete texts;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void SetAccessibleText(HWND window, AccessibleText which, std::wstring_view text) {
    if (window == nullptr) {
        return;
    }
    auto* texts = static_cast<AccessibleTexts*>(GetPropW(window, kTextsProperty));
    if (texts == nullptr) {
        auto* made = new AccessibleTexts;
        if (!SetPropW(window, kTextsProperty, made)) {
            delete made;
            return;
        }
        if (!SetWindowSubclass(window, &AnswerWithTexts, kAccessibleTextsId,
                               reinterpret_cast<DWORD_PTR>(made))) {
            RemovePropW(window, kTextsProperty);
            delete made;
            return;
        }
        texts = made;
    }
    (which == AccessibleText::kName ? texts->name : texts->description) = text;
    NotifyWinEvent(
        which == AccessibleText::kName ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_DESCRIPTIONCHANGE,
        window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace fwup::win32
