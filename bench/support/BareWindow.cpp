// The yardstick for start-up: a Qt program that shows one empty window of
// the same size and does nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(605, 468);
    window.show();
    return app.exec();
}
