// Each cell of the palette pictures as a person looks at it: the swatch or
// field colour with one ink, unsmoothed, a shape centred in it and told apart
// from every other cell's ("^0" from "^O", "^1" from "^l", "^I" and "^|").
#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"

#include <QSet>
#include <QTest>

class TestPalettePictures : public QObject
{
    Q_OBJECT

private slots:
    void cell_data();
    void cell();

private:
    QList<QImage> m_shapes; // of the rows so far
};

void TestPalettePictures::cell_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QRect>("inside"); // the cell in the picture, border or lines excluded
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<QPoint>("clickCentre"); // of the cell that inserts what the picture shows
    QTest::addColumn<QSize>("inkSize"); // of a symbol's drawing, which text shows at that size

    const QImage colours = colourPalettePicture();
    QCOMPARE(colours.size(), QSize(168, 430));
    for (const ColourCell& cell : colourCells()) {
        QTest::newRow(qPrintable(cell.code()))
            << colours << cell.pictureRect().adjusted(1, 1, -1, -1) << cell.swatch.rgb() << cell.letteringColour().rgb()
            << (QRectF(cell.twips).center() / 15.0).toPoint() << QSize();
    }
    const QImage symbols = symbolPalettePicture();
    QCOMPARE(symbols.size(), QSize(165, 212));
    for (const SymbolCell& cell : symbolCells()) {
        QTest::newRow(cell.description) << symbols << symbolPictureCell(cell.row, cell.column) << SymbolPictureBackground
                                        << cell.ink << (QRectF(cell.twips).center() / 15.0).toPoint()
                                        << cell.picture().size();
    }
}

void TestPalettePictures::cell()
{
    QFETCH(QImage, picture);
    QFETCH(QRect, inside);
    QFETCH(QRgb, background);
    QFETCH(QRgb, ink);
    QFETCH(QPoint, clickCentre);
    QFETCH(QSize, inkSize);

    // A click in the middle of a cell lands on the picture of what it inserts.
    QVERIFY(inside.contains(clickCentre));
    const QImage shown = picture.copy(inside).convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    QRect inked;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            colours.insert(shown.pixel(x, y));
            inked |= shown.pixel(x, y) == ink ? QRect(x, y, 1, 1) : QRect();
        }
    }
    QCOMPARE(colours, (QSet<QRgb>{background, ink}));
    // The ink clear of the edges, with as much room left as right.
    QVERIFY(QRect(1, 1, shown.width() - 2, shown.height() - 2).contains(inked));
    QVERIFY2(qAbs(inked.left() - (shown.width() - 1 - inked.right())) <= 1,
             qPrintable(QStringLiteral("ink from %1 to %2").arg(inked.left()).arg(inked.right())));
    // A drawing neither pads its ink nor reaches past its own size.
    if (inkSize.isValid())
        QCOMPARE(inked.size(), inkSize);
    const QImage shape = shown.createMaskFromColor(ink, Qt::MaskOutColor);
    QVERIFY2(!m_shapes.contains(shape), "looks like another cell");
    m_shapes << shape;
}

QTEST_GUILESS_MAIN(TestPalettePictures)
#include "TestPalettePictures.moc"
