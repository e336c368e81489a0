#pragma once

#include <QIcon>

// The program's 32 x 32 icon. Its pixels were drawn when the program was
// built, so that no image file has to travel with the program and the
// window needs no painter before it first shows.
QIcon appIcon();
