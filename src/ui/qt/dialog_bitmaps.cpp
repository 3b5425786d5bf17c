#include "ui/qt/dialog_bitmaps.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <cmath>

#include "ui/dialog_templates.h"

namespace fwup {
namespace {

const QColor kMainBackground(236, 237, 236);
const QColor kWarningYellow(252, 196, 25);
const QColor kWarningEdge(214, 158, 0);
const QColor kSuccessGreen(46, 160, 67);

// A canvas of `size` logical pixels, filled with `background`, ready for antialiased drawing.
QPixmap Canvas(QSize size, qreal devicePixelRatio, const QColor& background) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(QSize(static_cast<int>(std::ceil(size.width() * ratio)),
                         static_cast<int>(std::ceil(size.height() * ratio))));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(background);
    return pixmap;
}

// A warning triangle filling `box`, with rounded corners and an exclamation mark in `mark`.
void DrawWarning(QPainter& painter, const QRectF& box, const QColor& mark) {
    const qreal edge = std::max<qreal>(1.0, box.width() / 40.0);
    QPainterPath triangle;
    triangle.moveTo(box.center().x(), box.top() + edge);
    triangle.lineTo(box.right() - edge, box.bottom() - edge);
    triangle.lineTo(box.left() + edge, box.bottom() - edge);
    triangle.closeSubpath();
    QPen outline(kWarningEdge, 2 * edge);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(kWarningYellow);
    painter.drawPath(triangle);

    // The bar sits in the wider lower part of the triangle, the dot below it.
    const qreal barWidth = box.width() * 0.11;
    const QPointF barTop(box.center().x(), box.top() + box.height() * 0.34);
    const qreal barLength = box.height() * 0.32;
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark);
    QPainterPath bar;
    bar.moveTo(barTop.x() - barWidth / 2, barTop.y());
    bar.lineTo(barTop.x() + barWidth / 2, barTop.y());
    bar.lineTo(barTop.x() + barWidth * 0.3, barTop.y() + barLength);
    bar.lineTo(barTop.x() - barWidth * 0.3, barTop.y() + barLength);
    bar.closeSubpath();
    painter.drawPath(bar);
    const qreal dot = barWidth * 0.95;
    painter.drawEllipse(QPointF(barTop.x(), barTop.y() + barLength + dot * 1.05), dot / 2, dot / 2);
}

// A green disc filling `box` with a white check mark.
void DrawSuccess(QPainter& painter, const QRectF& box) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSuccessGreen);
    painter.drawEllipse(box);
    QPen check(Qt::white, box.width() * 0.1);
    check.setCapStyle(Qt::RoundCap);
    check.setJoinStyle(Qt::RoundJoin);
    painter.setPen(check);
    painter.setBrush(Qt::NoBrush);
    const auto at = [&box](qreal x, qreal y) {
        return QPointF(box.left() + box.width() * x, box.top() + box.height() * y);
    };
    const QPointF stroke[] = {at(0.27, 0.52), at(0.43, 0.68), at(0.74, 0.35)};
    painter.drawPolyline(stroke, 3);
}

}  // namespace

QPixmap DialogBitmap(int bitmapId, qreal devicePixelRatio) {
    QSize size;
    QColor background;
    switch (bitmapId) {
        case kIdbFailed:
            size = {97, 90};
            background = kMainBackground;
            break;
        case kIdbSucceeded:
            size = {98, 93};
            background = kMainBackground;
            break;
        case kIdbWarning:
            size = {45, 40};
            background = Qt::white;
            break;
        default:
            return {};
    }
    QPixmap pixmap = Canvas(size, devicePixelRatio, background);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0, 0, size.width(), size.height());
    switch (bitmapId) {
        case kIdbFailed:
            DrawWarning(painter, whole.adjusted(4, 4, -4, -4), Qt::white);
            break;
        case kIdbSucceeded: {
            const qreal side = std::min(whole.width(), whole.height()) - 8;
            QRectF disc(0, 0, side, side);
            disc.moveCenter(whole.center());
            DrawSuccess(painter, disc);
            break;
        }
        default:
            DrawWarning(painter, whole.adjusted(2, 1, -2, -1), Qt::black);
            break;
    }
    return pixmap;
}

QIcon AppIcon() {
    return QIcon(QStringLiteral(":/fwup/viruzu-fwup.png"));
}

}  // namespace fwup
