#include "icons/PixelIcon.h"

#include "icons/PixelPictures.h"

#include <QImage>
#include <QPixmap>

QIcon pixelIcon(Icon icon)
{
    QIcon drawn;
    for (const PixelPicture& picture : pixelPictures()) {
        if (picture.icon == icon)
            drawn.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(picture.pixels), picture.side,
                                                      picture.side, QImage::Format_ARGB32_Premultiplied)));
    }
    return drawn;
}
