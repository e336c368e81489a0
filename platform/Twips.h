#pragma once

#include <QRect>

// The window's layout is kept in twips, the unit the controls were placed in:
// 1440 to an inch, so 15 to a pixel at 96 dots per inch. This is the one
// place that turns them into pixels.
inline constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

// Each edge is converted on its own, as the width and height are: a control
// keeps the size its twips give it wherever it stands.
constexpr QRect twipsToPixels(const QRect& twips)
{
    return QRect(twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
                 twipsToPixels(twips.height()));
}
