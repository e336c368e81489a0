#include "palette/SymbolDrawing.h"

#include "palette/PixelFont.h"

#include <algorithm>
#include <vector>

namespace {

// A small monochrome drawing of one symbol. Shapes are laid out in its own
// coordinates first, so that each symbol can be centred by its real size and
// holes (a keyhole, the paper in front of a printer) can be cut out again.
class Stamp
{
public:
    Stamp(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_bits(static_cast<size_t>(width * height), false)
    {
    }

    int width() const { return m_width; }
    int height() const { return m_height; }

    bool isSet(int x, int y) const { return contains(x, y) && m_bits[index(x, y)]; }
    void set(int x, int y, bool on = true)
    {
        if (contains(x, y))
            m_bits[index(x, y)] = on;
    }

    void horizontal(int x0, int x1, int y)
    {
        for (int x = x0; x <= x1; ++x)
            set(x, y);
    }
    void vertical(int x, int y0, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            set(x, y);
    }
    void fill(int x0, int y0, int x1, int y1, bool on = true)
    {
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                set(x, y, on);
        }
    }
    // A one-pixel frame with its corner pixels left out, like a key cap.
    void keyFrame(int x0, int y0, int x1, int y1)
    {
        horizontal(x0 + 1, x1 - 1, y0);
        horizontal(x0 + 1, x1 - 1, y1);
        vertical(x0, y0 + 1, y1 - 1);
        vertical(x1, y0 + 1, y1 - 1);
    }
    // A ring of the given radius around (cx, cy), by the midpoint method.
    void ring(int cx, int cy, int radius)
    {
        int x = radius;
        int y = 0;
        int error = 1 - radius;
        while (x >= y) {
            for (const auto& [dx, dy] : {std::pair{x, y}, {y, x}}) {
                set(cx + dx, cy + dy);
                set(cx - dx, cy + dy);
                set(cx + dx, cy - dy);
                set(cx - dx, cy - dy);
            }
            ++y;
            if (error < 0) {
                error += 2 * y + 1;
            } else {
                --x;
                error += 2 * (y - x) + 1;
            }
        }
    }
    // Text in the pixel font, each font pixel drawn as scale by scale pixels.
    void text(int x0, int y0, QStringView text, int scale = 1)
    {
        QImage lettering(PixelFont::textWidth(text), PixelFont::height(), QImage::Format_ARGB32);
        lettering.fill(Qt::transparent);
        PixelFont::drawText(lettering, QPoint(0, 0), text, Qt::white);
        for (int y = 0; y < lettering.height(); ++y) {
            for (int x = 0; x < lettering.width(); ++x) {
                if (qAlpha(lettering.pixel(x, y)) != 0)
                    fill(x0 + x * scale, y0 + y * scale, x0 + x * scale + scale - 1, y0 + y * scale + scale - 1);
            }
        }
    }

private:
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    size_t index(int x, int y) const { return static_cast<size_t>(y * m_width + x); }

    int m_width;
    int m_height;
    std::vector<bool> m_bits;
};

QString digitText(int digit)
{
    return QString(QChar(u'0' + digit));
}

int centred(int outer, int inner)
{
    return (outer - inner) / 2;
}

Stamp ringedDigit(int digit)
{
    Stamp stamp(17, 17);
    stamp.ring(8, 8, 8);
    const QString text = digitText(digit);
    stamp.text(centred(17, PixelFont::textWidth(text)), centred(17, PixelFont::capHeight()), text);
    return stamp;
}

// The frame that the keypad's keys share: digits, plus, minus, dot, star.
Stamp keypadKey()
{
    Stamp stamp(13, 15);
    stamp.keyFrame(0, 0, 12, 14);
    return stamp;
}

Stamp framedDigit(int digit)
{
    Stamp stamp = keypadKey();
    const QString text = digitText(digit);
    stamp.text(centred(13, PixelFont::textWidth(text)), centred(15, PixelFont::capHeight()), text);
    return stamp;
}

Stamp largeDigit(int digit)
{
    const QString text = digitText(digit);
    Stamp stamp(PixelFont::textWidth(text) * 2, PixelFont::capHeight() * 2);
    stamp.text(0, 0, text, 2);
    return stamp;
}

Stamp lettering(QStringView first, QStringView second = {})
{
    const int gap = 2;
    const int lineHeight = PixelFont::capHeight();
    const int width = std::max(PixelFont::textWidth(first), PixelFont::textWidth(second));
    Stamp stamp(width, second.isEmpty() ? lineHeight : 2 * lineHeight + gap);
    stamp.text(centred(width, PixelFont::textWidth(first)), 0, first);
    if (!second.isEmpty())
        stamp.text(centred(width, PixelFont::textWidth(second)), lineHeight + gap, second);
    return stamp;
}

Stamp returnArrow()
{
    Stamp stamp(17, 13);
    stamp.keyFrame(0, 0, 16, 12);
    stamp.vertical(12, 3, 7);
    stamp.horizontal(4, 12, 7);
    stamp.vertical(5, 6, 8);
    stamp.vertical(6, 5, 9);
    return stamp;
}

Stamp uprightBars()
{
    Stamp stamp(7, 13);
    stamp.fill(0, 0, 1, 12);
    stamp.fill(5, 0, 6, 12);
    return stamp;
}

Stamp printer()
{
    Stamp stamp(19, 15);
    // The sheet waiting at the top.
    stamp.vertical(5, 0, 4);
    stamp.vertical(13, 0, 4);
    stamp.horizontal(5, 13, 0);
    // The body, with its lamp.
    stamp.keyFrame(0, 4, 18, 10);
    stamp.set(15, 6);
    // The printed sheet in front of the body.
    stamp.fill(5, 8, 13, 13, false);
    stamp.vertical(4, 8, 14);
    stamp.vertical(14, 8, 14);
    stamp.horizontal(4, 14, 14);
    stamp.horizontal(6, 12, 10);
    stamp.horizontal(6, 10, 12);
    return stamp;
}

Stamp framedStar()
{
    Stamp stamp = keypadKey();
    // Eight spokes; the slanted ones start away from the centre so that the
    // middle stays open and the sign does not clot into a blob.
    stamp.vertical(6, 4, 10);
    stamp.horizontal(3, 9, 7);
    for (int k = 2; k <= 3; ++k) {
        stamp.set(6 - k, 7 - k);
        stamp.set(6 + k, 7 - k);
        stamp.set(6 - k, 7 + k);
        stamp.set(6 + k, 7 + k);
    }
    return stamp;
}

Stamp upArrow()
{
    Stamp stamp(13, 15);
    for (int row = 0; row <= 6; ++row) {
        stamp.set(6 - row, row);
        stamp.set(6 + row, row);
    }
    stamp.horizontal(0, 3, 6);
    stamp.horizontal(9, 12, 6);
    stamp.vertical(3, 6, 14);
    stamp.vertical(9, 6, 14);
    stamp.horizontal(3, 9, 14);
    return stamp;
}

Stamp leftArrow()
{
    Stamp stamp(23, 13);
    for (int column = 0; column <= 6; ++column)
        stamp.vertical(column, 6 - column, 6 + column);
    stamp.fill(7, 3, 22, 9);
    return stamp;
}

Stamp padlock()
{
    Stamp stamp(11, 15);
    stamp.horizontal(3, 7, 0);
    stamp.set(2, 1);
    stamp.set(8, 1);
    stamp.vertical(2, 1, 5);
    stamp.vertical(8, 1, 5);
    stamp.fill(0, 6, 10, 14);
    stamp.fill(4, 9, 6, 10, false);
    stamp.fill(5, 11, 5, 12, false);
    return stamp;
}

Stamp framedDot()
{
    Stamp stamp = keypadKey();
    stamp.fill(5, 6, 7, 8);
    return stamp;
}

Stamp framedPlus()
{
    Stamp stamp = keypadKey();
    stamp.horizontal(3, 9, 7);
    stamp.vertical(6, 4, 10);
    return stamp;
}

Stamp framedMinus()
{
    Stamp stamp = keypadKey();
    stamp.horizontal(3, 9, 7);
    return stamp;
}

Stamp tabArrows()
{
    Stamp stamp(21, 13);
    // Right, against a bar.
    stamp.horizontal(0, 18, 2);
    stamp.vertical(17, 1, 3);
    stamp.vertical(16, 0, 4);
    stamp.vertical(20, 0, 4);
    // Left, against a bar.
    stamp.horizontal(2, 20, 10);
    stamp.vertical(3, 9, 11);
    stamp.vertical(4, 8, 12);
    stamp.vertical(0, 8, 12);
    return stamp;
}

Stamp stampOf(SymbolPicture picture)
{
    using P = SymbolPicture;
    switch (picture) {
    case P::RingedDigit1: return ringedDigit(1);
    case P::RingedDigit2: return ringedDigit(2);
    case P::RingedDigit3: return ringedDigit(3);
    case P::RingedDigit4: return ringedDigit(4);
    case P::FramedDigit0: return framedDigit(0);
    case P::FramedDigit1: return framedDigit(1);
    case P::FramedDigit2: return framedDigit(2);
    case P::FramedDigit3: return framedDigit(3);
    case P::FramedDigit4: return framedDigit(4);
    case P::FramedDigit5: return framedDigit(5);
    case P::FramedDigit9: return framedDigit(9);
    case P::Digit6: return largeDigit(6);
    case P::Digit7: return largeDigit(7);
    case P::Digit8: return largeDigit(8);
    case P::Escape: return lettering(u"ESC");
    case P::Alt: return lettering(u"Alt");
    case P::NumLock: return lettering(u"Num", u"Lock");
    case P::ScrollLock: return lettering(u"Scroll", u"Lock");
    case P::ReturnArrow: return returnArrow();
    case P::UprightBars: return uprightBars();
    case P::Printer: return printer();
    case P::FramedStar: return framedStar();
    case P::UpArrow: return upArrow();
    case P::LeftArrow: return leftArrow();
    case P::Padlock: return padlock();
    case P::FramedDot: return framedDot();
    case P::FramedPlus: return framedPlus();
    case P::FramedMinus: return framedMinus();
    case P::TabArrows: return tabArrows();
    }
    return Stamp(0, 0);
}

} // namespace

QColor symbolInk(SymbolPicture picture)
{
    switch (picture) {
    case SymbolPicture::ReturnArrow:
    case SymbolPicture::Printer:
    case SymbolPicture::Padlock:
    case SymbolPicture::FramedPlus:
    case SymbolPicture::FramedMinus:
        return QColor::fromRgb(SymbolPaleGreen);
    default:
        return QColor::fromRgb(SymbolWhite);
    }
}

std::optional<SymbolPicture> symbolPictureOf(char16_t character)
{
    using P = SymbolPicture;
    switch (character) {
    case 0x01: return P::UpArrow;
    case 0x02: return P::FramedStar;
    case 0x03: return P::Alt;
    case 0x04: return P::Padlock;
    case 0x05: return P::NumLock;
    case 0x06: return P::ScrollLock;
    case 0x07: return P::UprightBars;
    case 0x08: return P::LeftArrow;
    case 0x09: return P::TabArrows;
    case 0x0B: return P::FramedPlus;
    case 0x0C: return P::FramedMinus;
    case 0x0E: return P::FramedDot;
    case 0x0F: return P::Printer;
    case 0x10: return P::FramedDigit0;
    case 0x11: return P::FramedDigit1;
    case 0x12: return P::FramedDigit2;
    case 0x13: return P::FramedDigit3;
    case 0x14: return P::FramedDigit4;
    case 0x15: return P::FramedDigit5;
    case 0x16: return P::Digit6;
    case 0x17: return P::Digit7;
    case 0x18: return P::Digit8;
    case 0x19: return P::FramedDigit9;
    case 0x1B: return P::Escape;
    case 0x1C: return P::RingedDigit1;
    case 0x1D: return P::RingedDigit2;
    case 0x1E: return P::RingedDigit3;
    case 0x1F: return P::RingedDigit4;
    default: return std::nullopt;
    }
}

void drawSymbol(QImage& image, QRect cell, SymbolPicture picture)
{
    const Stamp stamp = stampOf(picture);
    const QRect target = cell & image.rect();
    const QPoint origin = cell.topLeft() + QPoint(centred(cell.width(), stamp.width()), centred(cell.height(), stamp.height()));
    const QColor ink = symbolInk(picture);
    for (int y = 0; y < stamp.height(); ++y) {
        for (int x = 0; x < stamp.width(); ++x) {
            const QPoint pixel = origin + QPoint(x, y);
            if (stamp.isSet(x, y) && target.contains(pixel))
                image.setPixelColor(pixel, ink);
        }
    }
}

bool drawSymbol(QImage& image, QRect cell, char16_t character)
{
    const std::optional<SymbolPicture> picture = symbolPictureOf(character);
    if (!picture)
        return false;
    drawSymbol(image, cell, *picture);
    return true;
}

QRect inkBounds(const QImage& image)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
