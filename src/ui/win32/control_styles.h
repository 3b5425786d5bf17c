#pragma once

#include <windows.h>

#include "ui/dialog_surface.h"
#include "ui/dialog_templates.h"

namespace fwup::win32 {

// A window's style and extended style words.
struct WindowStyle {
    DWORD style = 0;
    DWORD exStyle = 0;
    friend constexpr bool operator==(const WindowStyle&, const WindowStyle&) = default;
};

// The window class a control kind is made of.
const wchar_t* ControlClassName(ControlKind kind);

// The style of a control of `kind` carrying `bits`, without WS_CHILD and WS_VISIBLE. Used both for
// controls created at run time and to check the templates of the resource script, so that the two
// cannot describe a control differently.
WindowStyle ControlStyle(ControlKind kind, StyleBits bits);

// The style words of a control after its portable bits change from `before` to `after`. Bits of
// `current` that no portable bit maps to (WS_VISIBLE, WS_DISABLED, ...) are kept. An alignment is
// one field of the platform's style word, not independent bits: whatever the bits, the result holds
// exactly one alignment.
WindowStyle RestyledControl(ControlKind kind, WindowStyle current, StyleBits before,
                            StyleBits after);

// The style of a dialog template, as the resource script declares it.
WindowStyle DialogStyle(DialogStyleBits bits);

}  // namespace fwup::win32
