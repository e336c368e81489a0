#include "palette/ColourPalettePicture.h"

#include "palette/ColourCells.h"
#include "palette/PixelFont.h"

#include <QPainter>

QImage colourPalettePicture()
{
    QImage picture(ColourPictureSize, QImage::Format_RGB32);
    picture.fill(ColourPictureBackground);

    QPainter painter(&picture);
    for (const ColourCell& cell : colourCells()) {
        const QRect frame = cell.pictureRect();
        painter.fillRect(frame, Qt::black);
        painter.fillRect(frame.adjusted(1, 1, -1, -1), cell.swatch);
    }
    painter.end();

    // Centred on the capitals and digits, so a descender hangs below the middle
    // instead of lifting the whole code.
    for (const ColourCell& cell : colourCells()) {
        const QRect inside = cell.pictureRect().adjusted(1, 1, -1, -1);
        const QString code = cell.code();
        const QPoint topLeft(inside.left() + (inside.width() - PixelFont::textWidth(code)) / 2,
                             inside.top() + (inside.height() - PixelFont::capHeight()) / 2);
        PixelFont::drawText(picture, topLeft, code, cell.letteringColour());
    }
    return picture;
}
