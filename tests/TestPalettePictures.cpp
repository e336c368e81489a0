#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"

#include <QSet>
#include <QTest>

#include <optional>

namespace {

enum class Palette { Colours, Symbols };

constexpr QRgb ColourBackground = 0xFFC0C0FF;
constexpr QRgb Black = 0xFF000000;

QImage pictureOf(Palette palette)
{
    return palette == Palette::Colours ? colourPalettePicture() : symbolPalettePicture();
}

// What a pixel outside the cells' insides must be (equal) or must not be.
struct Ruling
{
    QRgb colour;
    bool equal;
};

std::optional<Ruling> rulingAt(Palette palette, int x, int y)
{
    if (palette == Palette::Colours) {
        // 32 x 22 swatches with a black border, two pixels apart.
        const int column = x % 34, row = y % 24;
        if (column >= 32 || row >= 22)
            return Ruling{ColourBackground, true};
        if (column == 0 || column == 31 || row == 0 || row == 21)
            return Ruling{Black, true};
        return std::nullopt;
    }
    const QList<int> columnLines{0, 41, 82, 123};
    const QList<int> rowLines{0, 23, 47, 70, 94, 117, 140, 164, 187, 211};
    const bool line = x <= 123 ? columnLines.contains(x) || rowLines.contains(y) : y == 0 || y == 23 || y == 47;
    if (line)
        return Ruling{SymbolPictureLine, true};
    if (x > 123 && y > 47) // the fourth column is empty beside rows 2 to 8
        return Ruling{SymbolPictureBackground, true};
    return Ruling{SymbolPictureLine, false};
}

QPoint centreInPixels(const QRect& twips)
{
    return (QRectF(twips).center() / 15.0).toPoint();
}

} // namespace

class TestPalettePictures : public QObject
{
    Q_OBJECT

private slots:
    void ruling_data();
    void ruling();
    void cell_data();
    void cell();
    void everySymbolLooksDifferent();
};

void TestPalettePictures::ruling_data()
{
    QTest::addColumn<Palette>("palette");
    QTest::addColumn<QSize>("size");

    QTest::newRow("colours") << Palette::Colours << QSize(168, 430);
    QTest::newRow("symbols") << Palette::Symbols << QSize(165, 212);
}

void TestPalettePictures::ruling()
{
    QFETCH(Palette, palette);
    QFETCH(QSize, size);
    const QImage picture = pictureOf(palette);
    QCOMPARE(picture.size(), size);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::optional<Ruling> ruling = rulingAt(palette, x, y);
            if (ruling && (picture.pixel(x, y) == ruling->colour) != ruling->equal)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is #%3").arg(x).arg(y).arg(picture.pixel(x, y), 8, 16)));
        }
    }
}

void TestPalettePictures::cell_data()
{
    QTest::addColumn<Palette>("palette");
    QTest::addColumn<QRect>("inside"); // the cell in the picture, border or lines excluded
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<QPoint>("clickCentre"); // of the cell that inserts what the picture shows

    for (const ColourCell& cell : colourCells()) {
        QTest::newRow(qPrintable(cell.code()))
            << Palette::Colours << cell.pictureRect().adjusted(1, 1, -1, -1) << colourOfCode(cell.character)->rgb()
            << cell.letteringColour().rgb() << centreInPixels(cell.twips);
    }
    const QList<SymbolPicture> paleGreen{SymbolPicture::ReturnArrow, SymbolPicture::Printer, SymbolPicture::Padlock,
                                        SymbolPicture::FramedPlus, SymbolPicture::FramedMinus};
    for (const SymbolCell& cell : symbolCells()) {
        QTest::newRow(cell.description) << Palette::Symbols << symbolPictureCell(cell.row, cell.column)
                                        << SymbolPictureBackground
                                        << (paleGreen.contains(cell.picture) ? SymbolPaleGreen : SymbolWhite)
                                        << centreInPixels(cell.twips);
    }
}

void TestPalettePictures::cell()
{
    QFETCH(Palette, palette);
    QFETCH(QRect, inside);
    QFETCH(QRgb, background);
    QFETCH(QRgb, ink);
    QFETCH(QPoint, clickCentre);

    // A click in the middle of a cell lands on the picture of what it inserts.
    QVERIFY2(inside.contains(clickCentre), qPrintable(QStringLiteral("%1,%2").arg(clickCentre.x()).arg(clickCentre.y())));

    // Only the background and the one ink, unsmoothed; enough ink to make out
    // a shape, roughly centred and clear of the lines.
    const QImage picture = pictureOf(palette);
    QSet<QRgb> colours;
    QRect inked;
    int inkPixels = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            colours.insert(picture.pixel(x, y));
            if (picture.pixel(x, y) == ink) {
                inked |= QRect(x, y, 1, 1);
                ++inkPixels;
            }
        }
    }
    QCOMPARE(colours, (QSet<QRgb>{background, ink}));
    QVERIFY2(inkPixels >= 8 && inkPixels < inside.width() * inside.height() / 3, qPrintable(QString::number(inkPixels)));
    QVERIFY(inked.left() > inside.left() && inked.right() < inside.right());
    QVERIFY(inked.top() > inside.top() && inked.bottom() < inside.bottom());
    QVERIFY2(qAbs((inked.left() - inside.left()) - (inside.right() - inked.right())) <= 1,
             qPrintable(QStringLiteral("ink from %1 to %2").arg(inked.left()).arg(inked.right())));
}

void TestPalettePictures::everySymbolLooksDifferent()
{
    QList<QImage> shapes;
    for (const SymbolCell& cell : symbolCells()) {
        QImage shape(41, 23, QImage::Format_RGB32);
        shape.fill(Qt::black);
        drawSymbol(shape, shape.rect(), cell.picture);
        QVERIFY2(!shapes.contains(shape), cell.description);
        shapes.append(shape);
    }
}

QTEST_GUILESS_MAIN(TestPalettePictures)
#include "TestPalettePictures.moc"
