// The palette panels start hidden, and a player may never open one: their
// pictures and cells must cost nothing until a panel is shown, and be made
// only once.
#include "widgets/PictureBox.h"

#include <QTest>

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void makesPictureAndChildrenOnlyWhenFirstShown();
};

void TestPictureBox::makesPictureAndChildrenOnlyWhenFirstShown()
{
    int drawn = 0;
    QWidget window;
    window.resize(200, 200);
    auto* panel = new PictureBox(&window);
    panel->setGeometry(0, 0, 100, 100);
    panel->setPicture([&drawn] {
        ++drawn;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        return picture;
    });
    int made = 0;
    panel->setChildren([&made](PictureBox& shown) {
        ++made;
        new QWidget(&shown);
    });
    panel->hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    QCOMPARE(drawn, 0);
    QCOMPARE(made, 0);

    panel->show();
    // Made as the panel shows, before anything can reach it.
    QCOMPARE(made, 1);
    QTRY_COMPARE(drawn, 1);
    panel->repaint();
    panel->hide();
    panel->show();
    panel->repaint();
    QCOMPARE(drawn, 1);
    QCOMPARE(made, 1);
    QCOMPARE(panel->findChildren<QWidget*>().size(), 1);
    QCOMPARE(panel->picture().pixel(5, 5), QColor(Qt::red).rgb());
}

QTEST_MAIN(TestPictureBox)
#include "TestPictureBox.moc"
