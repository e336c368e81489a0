// Writes the program's icon as a PNG for installing: write-icon out.png
#include "app/AppIcon.h"

#include <QGuiApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    return drawAppIconImage().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
