// The palette panels start hidden, and a player may never open one: their
// pictures must cost nothing until a panel is shown, and be drawn only once.
#include "platform/PictureBox.h"

#include <QTest>

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void drawsThePictureOnlyWhenFirstShown()
    {
        int drawn = 0;
        QWidget window;
        auto* panel = new PictureBox(&window);
        panel->setPicture([&drawn] { return ++drawn, QImage(10, 10, QImage::Format_RGB32); });
        panel->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(drawn, 0);
        panel->show();
        QTRY_COMPARE(drawn, 1);
        panel->hide();
        panel->show();
        panel->repaint();
        QCOMPARE(drawn, 1);
    }
};

QTEST_MAIN(TestPictureBox)
#include "TestPictureBox.moc"
