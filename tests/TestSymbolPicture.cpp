#include "palette/SymbolCells.h"
#include "palette/SymbolDrawing.h"
#include "palette/SymbolPalettePicture.h"

#include <QSet>
#include <QTest>

#include <algorithm>

namespace {

constexpr QRgb Background = 0xFF54662E;

const QList<int> columnLines{0, 41, 82, 123};
const QList<int> rowLines{0, 23, 47, 70, 94, 117, 140, 164, 187, 211};

// Where the table's lines must be, and nowhere else.
bool isTableLine(int x, int y)
{
    if (x <= 123)
        return columnLines.contains(x) || rowLines.contains(y);
    // The fourth column is ruled only around rows 0 and 1.
    return y == 0 || y == 23 || y == 47;
}

// The inside of a pictured cell, lines excluded.
QRect insideOf(int row, int column)
{
    const int left = columnLines[column] + 1;
    const int right = column < 3 ? columnLines[column + 1] - 1 : 164;
    return QRect(QPoint(left, rowLines[row] + 1), QPoint(right, rowLines[row + 1] - 1));
}

} // namespace

class TestSymbolPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizeAndDepth();
    void linesLieExactlyWhereTheTableRulesThem();
    void fourthColumnIsEmptyBesideRowsTwoToEight();
    void cellHoldsItsSymbolInItsInk_data();
    void cellHoldsItsSymbolInItsInk();
    void everySymbolLooksDifferent();
    void charactersDrawAsTheirCells();
    void charactersWithoutPictureDrawNothing_data();
    void charactersWithoutPictureDrawNothing();
    void symbolsStayInsideTheirRectangle();

private:
    QImage m_picture;
};

void TestSymbolPicture::initTestCase()
{
    m_picture = symbolPalettePicture();
}

void TestSymbolPicture::sizeAndDepth()
{
    QCOMPARE(m_picture.size(), QSize(165, 212));
    QCOMPARE(m_picture.depth(), 32);
}

void TestSymbolPicture::linesLieExactlyWhereTheTableRulesThem()
{
    const QRgb line = m_picture.pixel(0, 0);
    QVERIFY(qRed(line) < 0x30 && qGreen(line) < 0x30 && qBlue(line) < 0x30);
    for (int y = 0; y < m_picture.height(); ++y) {
        for (int x = 0; x < m_picture.width(); ++x) {
            const bool drawnAsLine = m_picture.pixel(x, y) == line;
            if (drawnAsLine != isTableLine(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) %3 a line").arg(x).arg(y).arg(drawnAsLine ? "is" : "is not")));
        }
    }
}

void TestSymbolPicture::fourthColumnIsEmptyBesideRowsTwoToEight()
{
    for (int y = 48; y < 212; ++y) {
        for (int x = 124; x < 165; ++x)
            QCOMPARE(m_picture.pixel(x, y), Background);
    }
}

void TestSymbolPicture::cellHoldsItsSymbolInItsInk_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("paleGreen");

    // Row and column of every pictured symbol; pale green for the return
    // arrow, the printer, the padlock and the framed plus and minus.
    const struct {
        const char* symbol;
        int row, column;
        bool paleGreen;
    } rows[] = {
        {"ring 1", 0, 0, false},       {"digit 6", 0, 1, false},     {"ESC", 0, 2, false},
        {"return arrow", 0, 3, true},  {"framed 1", 1, 0, false},    {"digit 7", 1, 1, false},
        {"upright bars", 1, 2, false}, {"printer", 1, 3, true},      {"ring 2", 2, 0, false},
        {"framed star", 2, 1, false},  {"Num Lock", 2, 2, false},    {"framed 2", 3, 0, false},
        {"digit 8", 3, 1, false},      {"framed 0", 3, 2, false},    {"ring 3", 4, 0, false},
        {"framed 9", 4, 1, false},     {"Scroll Lock", 4, 2, false}, {"framed 3", 5, 0, false},
        {"Alt", 5, 1, false},          {"up arrow", 5, 2, false},    {"ring 4", 6, 0, false},
        {"left arrow", 6, 1, false},   {"padlock", 6, 2, true},      {"framed 4", 7, 0, false},
        {"framed dot", 7, 1, false},   {"framed plus", 7, 2, true},  {"framed 5", 8, 0, false},
        {"tab arrows", 8, 1, false},   {"framed minus", 8, 2, true},
    };
    for (const auto& r : rows)
        QTest::newRow(r.symbol) << r.row << r.column << r.paleGreen;
}

void TestSymbolPicture::cellHoldsItsSymbolInItsInk()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, paleGreen);

    const QRect inside = insideOf(row, column);
    QSet<QRgb> inks;
    int inked = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = m_picture.pixel(x, y);
            if (pixel != Background) {
                inks.insert(pixel);
                ++inked;
            }
        }
    }
    // Enough to make out a shape, but not a cell flooded with ink.
    QVERIFY2(inked >= 12, qPrintable(QString::number(inked)));
    QVERIFY2(inked < inside.width() * inside.height() / 3, qPrintable(QString::number(inked)));
    QCOMPARE(inks.size(), 1);
    const QColor ink = QColor::fromRgb(*inks.begin());
    if (paleGreen) {
        QVERIFY2(ink.green() > 0xC0 && ink.green() > ink.red() + 0x20 && ink.green() > ink.blue() + 0x20,
                 qPrintable(ink.name()));
    } else {
        QCOMPARE(ink, QColor(Qt::white));
    }
    // The symbol is set off from the lines all round.
    for (QPoint corner : {inside.topLeft(), inside.topRight(), inside.bottomLeft(), inside.bottomRight()})
        QCOMPARE(m_picture.pixel(corner), Background);
}

void TestSymbolPicture::everySymbolLooksDifferent()
{
    // Compared by shape alone, each in a cell of the same size.
    QList<QImage> shapes;
    for (const SymbolCell& cell : symbolCells()) {
        QImage shape(41, 23, QImage::Format_RGB32);
        shape.fill(Qt::black);
        drawSymbol(shape, shape.rect(), cell.picture);
        for (const QImage& other : shapes)
            QVERIFY2(shape != other, qPrintable(cell.name()));
        shapes.append(shape);
    }
    QCOMPARE(shapes.size(), 29);
}

void TestSymbolPicture::charactersDrawAsTheirCells()
{
    for (const SymbolCell& cell : symbolCells()) {
        // U+000E is offered twice; the return arrow is the palette's second picture of it.
        if (cell.picture == SymbolPicture::ReturnArrow)
            continue;
        const QRect inside = symbolPictureCell(cell.row, cell.column);
        QCOMPARE(inside, insideOf(cell.row, cell.column));
        QImage drawn(inside.size(), QImage::Format_RGB32);
        drawn.fill(Background);
        QVERIFY(drawSymbol(drawn, drawn.rect(), cell.character));
        QVERIFY2(drawn == m_picture.copy(inside), qPrintable(cell.name()));
    }
}

void TestSymbolPicture::charactersWithoutPictureDrawNothing_data()
{
    QTest::addColumn<int>("character");
    QTest::newRow("NUL") << 0x00;
    QTest::newRow("line feed") << 0x0A;
    QTest::newRow("carriage return") << 0x0D;
    QTest::newRow("U+001A") << 0x1A;
    QTest::newRow("space") << 0x20;
    QTest::newRow("letter") << int('A');
}

void TestSymbolPicture::charactersWithoutPictureDrawNothing()
{
    QFETCH(int, character);
    QImage image(41, 23, QImage::Format_RGB32);
    image.fill(Background);
    const QImage before = image;
    QVERIFY(!drawSymbol(image, image.rect(), char16_t(character)));
    QCOMPARE(image, before);
}

void TestSymbolPicture::symbolsStayInsideTheirRectangle()
{
    // A cell too small for any symbol, and one hanging off the image's edge:
    // nothing may spill over onto the neighbours or off the image.
    for (const QRect cell : {QRect(16, 16, 8, 8), QRect(-10, 30, 20, 20)}) {
        for (const SymbolCell& symbol : symbolCells()) {
            QImage image(40, 40, QImage::Format_RGB32);
            image.fill(Background);
            drawSymbol(image, cell, symbol.picture);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (!cell.contains(x, y))
                        QCOMPARE(image.pixel(x, y), Background);
                }
            }
        }
    }
}

QTEST_MAIN(TestSymbolPicture)
#include "TestSymbolPicture.moc"
