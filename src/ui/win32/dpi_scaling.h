#pragma once

#include <windows.h>

#include "ui/dialog_surface.h"

namespace fwup::win32 {

// The logic lays controls out in pixels of a 96 DPI screen; the dialog manager scales the
// template for the actual DPI through its font, so run-time controls and fonts scale alike.
inline constexpr int kDesignDpi = 96;

// The DPI `window` is shown at (the monitor's, for a per-monitor aware program), or the screen's
// when the platform cannot say per window.
int WindowDpi(HWND window);

// `rect` at `dpi`; edges are scaled, not the size, so that adjoining controls stay adjoining.
RECT ScaledRect(const PixelRect& rect, int dpi);

// The font a FontDesc stands for at `dpi`. A point size becomes a character height (negative),
// as a point font is measured without its internal leading; a height stays a cell height. The
// face is cut to what LOGFONTW holds. The character set is the default one, so that the face is
// chosen by name whatever scripts it covers.
LOGFONTW MakeLogFont(const FontDesc& font, int dpi);

}  // namespace fwup::win32
