#include "app/Application.h"

#include "widgets/InterfaceStyle.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>

void configureApplication(QApplication& app)
{
    app.setApplicationName(QStringLiteral("Veltrane"));
    app.setDesktopFileName(QStringLiteral(VELTRANE_APP_ID));

    // The window's layout is fixed, so its style, colours and font are its
    // own. main.cpp asks desktop themes to keep out, but some (Qt's own KDE
    // theme) still give every program their colours unless it sets its own.
    auto* style = new InterfaceStyle;
    app.setStyle(style);
    app.setPalette(style->standardPalette());

    // The control rectangles were laid out for a small 8-point interface
    // font; Liberation Sans at 10 pixels is the size at which every caption
    // fits its rectangle.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    app.setFont(font);
    if (QFontInfo(font).family() != font.family())
        qWarning("Veltrane: the font Liberation Sans is missing, so captions may not fit their boxes; "
                 "it comes with the package fonts-liberation.");
}
