#pragma once

#include <QChar>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QStringView>

// A small bitmap font of our own for lettering the palette pictures: strokes
// one pixel wide, no smoothing, and the same pixels on every machine whatever
// fonts it has. Capitals and digits stand in rows 0 to 6 of a line, lower-case
// descenders and the comma reach into rows 7 and 8. Glyphs are up to 5 pixels
// wide and one pixel of space separates neighbours.
class PixelFont
{
public:
    // Rows in a line of text, descenders included.
    static int height();
    // Rows from the top of a line to the baseline: the height of a capital or digit.
    static int capHeight();
    // Pixels covered by the text, without space after its last glyph.
    static int textWidth(QStringView text);
    // Sets the pixels of the glyphs in colour and leaves every other pixel as it
    // was; pixels that would fall outside the image are dropped. A character
    // without a glyph advances like a space.
    static void drawText(QImage& image, QPoint topLeft, QStringView text, QColor colour);
};
