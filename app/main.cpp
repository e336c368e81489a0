#include "app/Application.h"
#include "app/Form1.h"
#include "game/DriveCatalog.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    configureApplication(app);
    Form1 form(QDir::currentPath(), DriveCatalog::fromSystem());
    form.show();
    form.findGameDrives();
    return app.exec();
}
