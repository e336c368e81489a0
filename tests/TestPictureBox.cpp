// The palette panels start hidden, and a player may never open one: their
// pictures and cells must cost nothing until a panel is shown, and be made
// only once.
#include "widgets/PictureBox.h"

#include <QTest>

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void makesPictureAndChildrenOnlyWhenFirstShown()
    {
        int drawn = 0;
        int made = 0;
        QWidget window;
        auto* panel = new PictureBox(&window);
        panel->setPicture([&drawn] { return ++drawn, QImage(10, 10, QImage::Format_RGB32); });
        panel->setChildren([&made](PictureBox& shown) { ++made, new QWidget(&shown); });
        panel->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(drawn + made, 0);
        panel->show();
        // The cells come as the panel shows, before anything can reach them.
        QCOMPARE(made, 1);
        QTRY_COMPARE(drawn, 1);
        panel->hide();
        panel->show();
        panel->repaint();
        QCOMPARE(drawn, 1);
        QCOMPARE(panel->findChildren<QWidget*>().size(), 1);
    }
};

QTEST_MAIN(TestPictureBox)
#include "TestPictureBox.moc"
