#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "ui/dialog_templates.h"

namespace fwup {

// What one dialog unit is worth: a quarter of `x` horizontally and an eighth of `y` vertically,
// in logical pixels.
struct DialogBaseUnits {
    int x = 0;  // average width of the font's Latin letters
    int y = 0;  // the font's character cell height

    friend constexpr bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// Measures `font` the way Windows measures a dialog font, so that a template laid out for it
// keeps its proportions: the width of the 52 Latin letters, halved per letter pair and rounded,
// and the full cell height.
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// Dialog units to logical pixels, rounded to the nearest pixel as Windows' MapDialogRect does.
QRect DialogUnitsToPixels(const DialogUnitRect& rect, DialogBaseUnits units);
QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units);

}  // namespace fwup
