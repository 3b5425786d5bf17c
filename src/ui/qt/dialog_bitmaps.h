#pragma once

#include <QIcon>
#include <QPixmap>

namespace fwup {

// The pictures of the dialog templates (bitmaps 175, 176 and 177), drawn at their Windows sizes
// in logical pixels and sharp at `devicePixelRatio`. A null pixmap for an id no template uses.
QPixmap DialogBitmap(int bitmapId, qreal devicePixelRatio);

// The application icon (icon 128): a printer with an upward arrow, linked into the program.
QIcon AppIcon();

}  // namespace fwup
