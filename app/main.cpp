#include "app/Application.h"
#include "app/Form1.h"
#include "game/DriveCatalog.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    // Before the application exists: no desktop theme's font, colours or
    // style reach the window, whose layout is fixed.
    QApplication::setDesktopSettingsAware(false);
    QApplication app(argc, argv);
    configureApplication(app);
    Form1 form(QDir::currentPath(), DriveCatalog::fromSystem());
    form.show();
    form.findGameDrives();
    return app.exec();
}
