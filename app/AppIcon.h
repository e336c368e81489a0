#pragma once

#include <QIcon>
#include <QImage>

// The program's 32 x 32 icon: a keypad key with a coloured caret code on it,
// drawn here so that no image file has to travel with the program.
QImage drawAppIconImage();
QIcon appIcon();
