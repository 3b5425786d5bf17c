#include "ui/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace fwup {
namespace {

// a * b / c rounded half away from zero, for the non-negative values a template holds.
int MulDivRounded(int a, int b, int c) {
    return (2 * a * b + c) / (2 * c);
}

}  // namespace

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const DialogUnitRect& rect, DialogBaseUnits units) {
    return {MulDivRounded(rect.x, units.x, 4), MulDivRounded(rect.y, units.y, 8),
            MulDivRounded(rect.width, units.x, 4), MulDivRounded(rect.height, units.y, 8)};
}

QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units) {
    return {MulDivRounded(width, units.x, 4), MulDivRounded(height, units.y, 8)};
}

}  // namespace fwup
