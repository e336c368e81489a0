#pragma once

#include <QImage>

inline constexpr int AppIconSide = 32;

// The program's icon: a keypad key with a coloured caret code on it, drawn
// when the program is built (see WriteIcon.cpp).
QImage drawAppIconImage();
