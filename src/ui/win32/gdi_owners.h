#pragma once

#include <windows.h>

#include "base/win32/unique_win32.h"

namespace fwup::win32 {

template <typename Handle>
struct GdiObjectTraits {
    using Type = Handle;
    static Type Invalid() { return nullptr; }
    static void Close(Type object) { DeleteObject(object); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type icon) { DestroyIcon(icon); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type window) { DestroyWindow(window); }
};

using UniqueFont = UniqueWin32<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueWin32<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueWin32<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = UniqueWin32<IconTraits>;
using UniqueWindow = UniqueWin32<WindowTraits>;

}  // namespace fwup::win32
