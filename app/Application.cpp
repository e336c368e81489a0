#include "app/Application.h"

#include "widgets/InterfaceStyle.h"

#include <QApplication>
#include <QFont>

void configureApplication(QApplication& app)
{
    app.setApplicationName(QStringLiteral("Veltrane"));
    app.setDesktopFileName(QStringLiteral(VELTRANE_APP_ID));
    app.setStyle(new InterfaceStyle);

    // The control rectangles were laid out for a small 8-point interface
    // font; Liberation Sans at 10 pixels is the size at which every caption
    // fits its rectangle.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    app.setFont(font);
}
