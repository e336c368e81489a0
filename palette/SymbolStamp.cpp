#include "palette/SymbolStamp.h"

#include "palette/PixelFont.h"

#include <utility>

SymbolStamp::SymbolStamp(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_bits(static_cast<size_t>(width * height), false)
{
}

void SymbolStamp::set(int x, int y, bool on)
{
    if (contains(x, y))
        m_bits[index(x, y)] = on;
}

void SymbolStamp::horizontal(int x0, int x1, int y)
{
    for (int x = x0; x <= x1; ++x)
        set(x, y);
}

void SymbolStamp::vertical(int x, int y0, int y1)
{
    for (int y = y0; y <= y1; ++y)
        set(x, y);
}

void SymbolStamp::fill(int x0, int y0, int x1, int y1, bool on)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            set(x, y, on);
    }
}

void SymbolStamp::keyFrame(int x0, int y0, int x1, int y1)
{
    horizontal(x0 + 1, x1 - 1, y0);
    horizontal(x0 + 1, x1 - 1, y1);
    vertical(x0, y0 + 1, y1 - 1);
    vertical(x1, y0 + 1, y1 - 1);
}

void SymbolStamp::ring(int cx, int cy, int radius)
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

void SymbolStamp::text(int x0, int y0, QStringView text, int scale)
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

void SymbolStamp::drawCentred(QImage& image, QRect cell, QRgb ink) const
{
    const QRect target = cell & image.rect();
    const QPoint origin = cell.topLeft() + QPoint((cell.width() - m_width) / 2, (cell.height() - m_height) / 2);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const QPoint pixel = origin + QPoint(x, y);
            if (m_bits[index(x, y)] && target.contains(pixel))
                image.setPixel(pixel, ink);
        }
    }
}

QImage SymbolStamp::picture(QRgb ink) const
{
    QImage image(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    drawCentred(image, image.rect(), ink);
    return image;
}
