#include "app/AppIconDrawing.h"

#include <QPainter>
#include <QPainterPath>

QImage drawAppIconImage()
{
    QImage image(AppIconSide, AppIconSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

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
    return image;
}
