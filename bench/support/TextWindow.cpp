// The bare window with one line of text: what any window that shows text
// pays at start-up on top of the bare one (the font configuration is read,
// a font file is opened and shaped). The start-up benchmark shows it as the
// floor that no window with captions can go below.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Text"));
    window.setFixedSize(605, 468);
    QLabel label(QStringLiteral("Bind"), &window);
    window.show();
    return app.exec();
}
