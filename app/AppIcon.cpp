#include "app/AppIcon.h"

#include "app/AppIconPixels.h"

#include <QImage>
#include <QPixmap>

QIcon appIcon()
{
    const QImage image(reinterpret_cast<const uchar*>(appIconPixels), AppIconSide, AppIconSide,
                       QImage::Format_ARGB32_Premultiplied);
    return QIcon(QPixmap::fromImage(image));
}
