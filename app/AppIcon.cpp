#include "app/AppIcon.h"

#include "icons/PixelIcon.h"

QIcon appIcon()
{
    return pixelIcon(Icon::App);
}
