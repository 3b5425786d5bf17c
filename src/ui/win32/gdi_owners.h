#pragma once

#include <windows.h>

#include "device/win32/win32_owners.h"

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

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};

using UniqueFont = UniqueWin32<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueWin32<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueWin32<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = UniqueWin32<IconTraits>;
using UniqueWindow = UniqueWin32<WindowTraits>;
// Handles whose failure value is null (mutexes, events), unlike files.
using UniqueKernelHandle = UniqueWin32<KernelHandleTraits>;

}  // namespace fwup::win32
