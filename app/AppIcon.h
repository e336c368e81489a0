#pragma once

#include <QIcon>

// The program's 32 x 32 icon, as drawn when the program was built (see
// icons/Drawings.cpp), so that the window needs no painter or image file for it.
QIcon appIcon();
