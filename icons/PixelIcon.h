#pragma once

#include <QIcon>

// The program's small pictures. Each is drawn when the program is built (see
// Drawings.cpp) and kept as a table of pixels, so that showing one needs no
// painter, no image file and no decoder before the window first shows.
enum class Icon {
    App,        // a keypad key with a coloured caret code on it
    ShutFolder, // the classic manila folder
    OpenFolder, // the same with its front flap open
};

// The icon at each size it was drawn in for the window.
QIcon pixelIcon(Icon icon);
