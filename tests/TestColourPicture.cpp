#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"

#include <QHash>
#include <QTest>

namespace {

QRect insideOf(const ColourCell& cell)
{
    return cell.pictureRect().adjusted(1, 1, -1, -1);
}

// How often each colour occurs inside a swatch.
QHash<QRgb, int> coloursInside(const QImage& picture, const QRect& inside)
{
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000];
    }
    return counts;
}

} // namespace

class TestColourPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizeAndDepth();
    void backgroundBetweenTheSwatches();
    void blackBorders();
    void swatch_data();
    void swatch();
    void cellCentreLandsOnTheSwatchOfItsCode();

private:
    QImage m_picture;
};

void TestColourPicture::initTestCase()
{
    m_picture = colourPalettePicture();
}

void TestColourPicture::sizeAndDepth()
{
    QCOMPARE(m_picture.size(), QSize(168, 430));
    QVERIFY(!m_picture.hasAlphaChannel());
    // Drawn by us alone, so the same on every machine.
    QCOMPARE(colourPalettePicture(), m_picture);
}

void TestColourPicture::backgroundBetweenTheSwatches()
{
    int background = 0;
    for (int y = 0; y < m_picture.height(); ++y) {
        for (int x = 0; x < m_picture.width(); ++x) {
            const bool inRectangle = (x % 34) < 32 && (y % 24) < 22;
            if (!inRectangle) {
                QVERIFY2(m_picture.pixel(x, y) == qRgb(0xC0, 0xC0, 0xFF), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                ++background;
            }
        }
    }
    // Two-pixel gaps between 5 columns and 18 rows.
    QCOMPARE(background, 168 * 430 - 90 * 32 * 22);
}

void TestColourPicture::blackBorders()
{
    for (const ColourCell& cell : colourCells()) {
        const QRect frame = cell.pictureRect();
        for (int x = frame.left(); x <= frame.right(); ++x) {
            QCOMPARE(m_picture.pixel(x, frame.top()), qRgb(0, 0, 0));
            QCOMPARE(m_picture.pixel(x, frame.bottom()), qRgb(0, 0, 0));
        }
        for (int y = frame.top(); y <= frame.bottom(); ++y) {
            QCOMPARE(m_picture.pixel(frame.left(), y), qRgb(0, 0, 0));
            QCOMPARE(m_picture.pixel(frame.right(), y), qRgb(0, 0, 0));
        }
    }
}

void TestColourPicture::swatch_data()
{
    QTest::addColumn<int>("index");
    for (const ColourCell& cell : colourCells())
        QTest::newRow(qPrintable(cell.code())) << cell.index;
}

void TestColourPicture::swatch()
{
    QFETCH(int, index);
    const ColourCell& cell = colourCells()[index];
    const QRect inside = insideOf(cell);
    QCOMPARE(inside.size(), QSize(30, 20));

    // Only the swatch colour and the lettering colour, no smoothing between them.
    const QHash<QRgb, int> counts = coloursInside(m_picture, inside);
    const QRgb swatch = cell.swatch.rgb();
    const QRgb lettering = cell.letteringColour().rgb();
    QCOMPARE(counts.size(), 2);
    QVERIFY(counts.contains(swatch));
    QVERIFY(counts.value(lettering) >= 8); // the caret alone has five pixels
    QVERIFY(counts.value(swatch) > counts.value(lettering));

    // Roughly centred: the lettering's box sits in the middle of the swatch.
    QRect ink;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if ((m_picture.pixel(x, y) | 0xFF000000) == lettering)
                ink |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(ink.left() - inside.left() >= 4);
    QVERIFY(inside.right() - ink.right() >= 4);
    QVERIFY(qAbs((ink.left() - inside.left()) - (inside.right() - ink.right())) <= 1);
    QVERIFY(ink.top() - inside.top() >= 3);
    QVERIFY(inside.bottom() - ink.bottom() >= 3);
}

void TestColourPicture::cellCentreLandsOnTheSwatchOfItsCode()
{
    for (const ColourCell& cell : colourCells()) {
        const QPoint centre = (QRectF(cell.twips).center() / 15.0).toPoint();
        const ColourCell* under = nullptr;
        for (const ColourCell& other : colourCells()) {
            if (insideOf(other).contains(centre))
                under = &other;
        }
        QVERIFY2(under == &cell, qPrintable(cell.code()));
        const QHash<QRgb, int> counts = coloursInside(m_picture, insideOf(*under));
        const QRgb dominant = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                               [](auto a, auto b) { return a.second < b.second; })
                                  ->first;
        QCOMPARE(dominant, colourOfCode(cell.character)->rgb());
    }
}

QTEST_GUILESS_MAIN(TestColourPicture)
#include "TestColourPicture.moc"
