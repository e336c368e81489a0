#pragma once

#include <QImage>
#include <QSize>

inline constexpr QSize ColourPictureSize(168, 430);
inline constexpr QRgb ColourPictureBackground = 0xFFC0C0FF;

// The picture under the colour cells, drawn from the cell table: a grid of
// black-bordered swatches, each lettered with its code in our pixel font, so
// it is the same pixels on every machine.
QImage colourPalettePicture();
