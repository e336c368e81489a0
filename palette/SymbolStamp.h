#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QStringView>

#include <vector>

// A small one-colour drawing, with whole pixels so that it looks the same at
// natural size on every machine, and exactly as large as what it shows: the
// symbol pictures of the game's font are drawn with it. Shapes are laid out in
// its own coordinates, so a picture is centred by its real size and holes (a
// keyhole, the paper in front of a printer) can be cut out again. Pixels set
// outside the drawing are dropped.
class SymbolStamp
{
public:
    SymbolStamp(int width, int height);

    void set(int x, int y, bool on = true);
    void horizontal(int x0, int x1, int y);
    void vertical(int x, int y0, int y1);
    void fill(int x0, int y0, int x1, int y1, bool on = true);
    // A one-pixel frame with its corner pixels left out, like a key cap.
    void keyFrame(int x0, int y0, int x1, int y1);
    // A ring of the given radius around (cx, cy), by the midpoint method.
    void ring(int cx, int cy, int radius);
    // Text in the pixel font, each font pixel drawn as scale by scale pixels.
    void text(int x0, int y0, QStringView text, int scale = 1);

    // Sets the drawing's pixels in ink, an opaque colour, centred in cell;
    // every other pixel stays as it was, and nothing is drawn outside cell or
    // the image.
    void drawCentred(QImage& image, QRect cell, QRgb ink) const;
    // The drawing alone: ink where it is set, transparent elsewhere.
    QImage picture(QRgb ink) const;

private:
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    size_t index(int x, int y) const { return static_cast<size_t>(y * m_width + x); }

    int m_width;
    int m_height;
    std::vector<bool> m_bits;
};
