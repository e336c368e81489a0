#pragma once

#include "icons/PixelIcon.h"

#include <QImage>

// The icon drawn side pixels square, with a painter: this runs when the
// program is built, never when it starts (see WriteIcons.cpp).
QImage drawIcon(Icon icon, int side);
