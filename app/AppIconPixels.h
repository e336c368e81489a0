#pragma once

#include "app/AppIconDrawing.h"

#include <QtGlobal>

// The icon's pixels as drawAppIconImage() drew them at build time:
// premultiplied ARGB, row by row. The build writes their definition.
extern const quint32 appIconPixels[AppIconSide * AppIconSide];
