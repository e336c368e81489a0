#include "icons/Drawings.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Drawn on a grid of 32 units a side.
void drawKeyCap(QPainter& painter)
{
    // The key cap: a dark olive body with a lighter top face.
    painter.setPen(QPen(QColor(0x1E, 0x26, 0x10), 1));
    painter.setBrush(QColor(0x54, 0x66, 0x2E));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x7A, 0x8F, 0x4A));
    painter.drawRoundedRect(QRectF(5, 4, 22, 20), 3, 3);

    // A caret code on its face: "^" and a bar in the game's red.
    QPainterPath caret;
    caret.moveTo(8, 14);
    caret.lineTo(12, 8);
    caret.lineTo(16, 14);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(caret);
    painter.setPen(QPen(QColor(0xFF, 0x19, 0x19), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(20, 8), QPointF(20, 20));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0x00), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9, 19), QPointF(16, 19));
}

// The classic manila folder on a grid of 16 units a side, drawn without
// smoothing so that it stays crisp at 16 and 32 pixels, its slanted edges as
// even steps. The style's own pair looks alike at this size, and the folder
// list must tell the open folders on the way down from the ones below them.
void drawFolder(QPainter& painter, bool open)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(0x80, 0x60, 0x10);
    const QColor back(0xE8, 0xC0, 0x50);
    const QColor front(0xFF, 0xE0, 0x80);

    // The back with its tab, one unit of outline round it.
    painter.fillRect(QRect(1, 3, 5, 2), outline);
    painter.fillRect(QRect(1, 4, 13, 10), outline);
    painter.fillRect(QRect(2, 4, 4, 1), back);
    painter.fillRect(QRect(2, 5, 11, 8), back);
    if (!open) {
        // Shut, the front shows only as its lighter top edge.
        painter.fillRect(QRect(2, 6, 11, 1), front);
        return;
    }
    // Open, the front flap leans forward out of the back, as far as its left edge.
    painter.setClipRect(QRect(1, 0, 15, 16));
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawPolygon(QPolygonF({{4, 7}, {16, 7}, {12.5, 14}, {0.5, 14}}));
    painter.setBrush(front);
    painter.drawPolygon(QPolygonF({{4.5, 8}, {14.5, 8}, {12, 13}, {2, 13}}));
}

} // namespace

QImage drawIcon(Icon icon, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case Icon::App:
        painter.scale(side / 32.0, side / 32.0);
        drawKeyCap(painter);
        break;
    case Icon::ShutFolder:
    case Icon::OpenFolder:
        painter.scale(side / 16.0, side / 16.0);
        drawFolder(painter, icon == Icon::OpenFolder);
        break;
    }
    return image;
}
