#include "ui/win32/control_styles.h"

#include <commctrl.h>

namespace fwup::win32 {
namespace {

// The style bits a portable bit stands for, per kind; the kind's fixed style is not among them.
WindowStyle MappedBits(ControlKind kind, StyleBits bits) {
    WindowStyle mapped;
    const auto set = [bits](StyleBits bit) { return (bits & bit) != 0; };
    if (set(kStyleBorder)) {
        mapped.style |= WS_BORDER;
    }
    if (set(kStyleVScroll)) {
        mapped.style |= WS_VSCROLL;
    }
    if (set(kStyleTabStop)) {
        mapped.style |= WS_TABSTOP;
    }
    if (set(kStyleTransparent)) {
        mapped.exStyle |= WS_EX_TRANSPARENT;
    }
    if (set(kStyleRtlReading)) {
        mapped.exStyle |= WS_EX_RTLREADING;
    }
    if (set(kStyleLayoutRtl)) {
        mapped.exStyle |= WS_EX_LAYOUTRTL;
    }
    // Centre wins over right: SS_CENTER | SS_RIGHT would be SS_ICON, not an alignment.
    const bool centre = set(kStyleAlignCenter);
    const bool right = !centre && set(kStyleAlignRight);
    switch (kind) {
        case ControlKind::kPushButton:
            if (set(kStyleDefaultButton)) {
                mapped.style |= BS_DEFPUSHBUTTON;
            }
            break;
        case ControlKind::kStaticText:
            mapped.style |= centre ? SS_CENTER : right ? SS_RIGHT : SS_LEFT;
            break;
        case ControlKind::kEdit:
            mapped.style |= centre ? ES_CENTER : right ? ES_RIGHT : ES_LEFT;
            if (set(kStyleMultiLine)) {
                mapped.style |= ES_MULTILINE;
            }
            if (set(kStyleAutoVScroll)) {
                mapped.style |= ES_AUTOVSCROLL;
            }
            if (set(kStyleReadOnly)) {
                mapped.style |= ES_READONLY;
            }
            if (set(kStyleWantReturn)) {
                mapped.style |= ES_WANTRETURN;
            }
            break;
        case ControlKind::kDropDownList:
            if (set(kStyleSorted)) {
                mapped.style |= CBS_SORT;
            }
            // A combo box has no alignment in its style word, only the extended one.
            if (right) {
                mapped.exStyle |= WS_EX_RIGHT;
            }
            break;
        case ControlKind::kProgressBar:
            if (set(kStyleSmooth)) {
                mapped.style |= PBS_SMOOTH;
            }
            break;
        case ControlKind::kPicture:
            break;
    }
    return mapped;
}

// What every control of a kind has whatever its bits. Texts never take '&' as a mnemonic: a
// message showing an ampersand must show it.
DWORD FixedStyle(ControlKind kind) {
    switch (kind) {
        case ControlKind::kPushButton:
            return BS_PUSHBUTTON;
        case ControlKind::kStaticText:
            return SS_NOPREFIX;
        case ControlKind::kPicture:
            return SS_BITMAP;
        case ControlKind::kEdit:
            return 0;
        case ControlKind::kDropDownList:
            return CBS_DROPDOWNLIST;
        case ControlKind::kProgressBar:
            return 0;
    }
    return 0;
}

// The bits of the style word that hold the alignment, which a restyle replaces as a whole.
DWORD AlignmentField(ControlKind kind) {
    switch (kind) {
        case ControlKind::kStaticText:
            return SS_LEFT | SS_CENTER | SS_RIGHT;
        case ControlKind::kEdit:
            return ES_LEFT | ES_CENTER | ES_RIGHT;
        default:
            return 0;
    }
}

}  // namespace

const wchar_t* ControlClassName(ControlKind kind) {
    switch (kind) {
        case ControlKind::kPushButton:
            return WC_BUTTONW;
        case ControlKind::kStaticText:
        case ControlKind::kPicture:
            return WC_STATICW;
        case ControlKind::kEdit:
            return WC_EDITW;
        case ControlKind::kDropDownList:
            return WC_COMBOBOXW;
        case ControlKind::kProgressBar:
            return PROGRESS_CLASSW;
    }
    return WC_STATICW;
}

WindowStyle ControlStyle(ControlKind kind, StyleBits bits) {
    WindowStyle style = MappedBits(kind, bits);
    style.style |= FixedStyle(kind);
    return style;
}

WindowStyle RestyledControl(ControlKind kind, WindowStyle current, StyleBits before,
                            StyleBits after) {
    const WindowStyle old = MappedBits(kind, before);
    const WindowStyle fresh = MappedBits(kind, after);
    const DWORD field = AlignmentField(kind);
    DWORD style = (current.style & ~old.style & ~field) | fresh.style;
    // A drop-down list's scroll bar is its dropped list's: the combo box keeps it out of its own
    // style word when it is made, and one set there afterwards is drawn beside the box.
    if (kind == ControlKind::kDropDownList) {
        style = (style & ~(WS_VSCROLL | WS_HSCROLL)) | (current.style & (WS_VSCROLL | WS_HSCROLL));
    }
    return {style, (current.exStyle & ~old.exStyle) | fresh.exStyle};
}

WindowStyle DialogStyle(DialogStyleBits bits) {
    const auto set = [bits](DialogStyleBits bit) { return (bits & bit) != 0; };
    // Every template names its font; and a dialog opens in the middle of the screen rather than
    // in its corner.
    WindowStyle style{DS_SETFONT | DS_CENTER, 0};
    style.style |= set(kDialogPopup) ? WS_POPUP : 0;
    style.style |= set(kDialogVisible) ? WS_VISIBLE : 0;
    style.style |= set(kDialogCaption) ? WS_CAPTION : 0;
    style.style |= set(kDialogSystemMenu) ? WS_SYSMENU : 0;
    style.style |= set(kDialogModalFrame) ? DS_MODALFRAME : 0;
    style.style |= set(kDialogMinimizeBox) ? WS_MINIMIZEBOX : 0;
    style.style |= set(kDialogMaximizeBox) ? WS_MAXIMIZEBOX : 0;
    style.exStyle |= set(kDialogAppWindow) ? WS_EX_APPWINDOW : 0;
    return style;
}

}  // namespace fwup::win32
