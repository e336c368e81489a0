#pragma once

#include "icons/PixelIcon.h"

#include <QtGlobal>

#include <span>

// One drawn picture: premultiplied ARGB, row by row, side by side pixels.
struct PixelPicture
{
    Icon icon;
    int side;
    const quint32* pixels;
};

// Every picture the window shows, as the drawings drew them at build time.
// The build writes its definition (see WriteIcons.cpp).
std::span<const PixelPicture> pixelPictures();
