#include "palette/PixelFont.h"

#include <QSet>
#include <QTest>

namespace {

const QString ColourCodeCharacters = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz"
                                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~");

// The glyph of c drawn alone, in black on white, with a margin of two pixels.
QImage drawnAlone(QChar c)
{
    QImage image(PixelFont::textWidth(QString(c)) + 4, PixelFont::height() + 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelFont::drawText(image, QPoint(2, 2), QString(c), Qt::black);
    return image;
}

QRect inkBounds(const QImage& image, QRgb ink)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == ink)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class TestPixelFont : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterThePalettesLetterHasAGlyph();
    void glyphsStayInsideTheirBox_data();
    void glyphsStayInsideTheirBox();
    void noTwoGlyphsLookAlike();
    void drawingSetsOnlyTheGivenColour();
    void textWidth_data();
    void textWidth();
    void pixelsOutsideTheImageAreDropped();
};

void TestPixelFont::everyCharacterThePalettesLetterHasAGlyph()
{
    for (QChar c : ColourCodeCharacters + QStringLiteral("^ "))
        QVERIFY2(PixelFont::hasGlyph(c), qPrintable(QString(c)));
    QVERIFY(!PixelFont::hasGlyph(QChar(0x1C)));
    QVERIFY(!PixelFont::hasGlyph(QChar(0xE9)));
}

void TestPixelFont::glyphsStayInsideTheirBox_data()
{
    QTest::addColumn<QChar>("character");
    for (QChar c : ColourCodeCharacters + QStringLiteral("^"))
        QTest::newRow(qPrintable(QString(c))) << c;
}

void TestPixelFont::glyphsStayInsideTheirBox()
{
    // A glyph row longer than the glyph's width, or a glyph without ink,
    // would letter a swatch wrongly or not at all.
    QFETCH(QChar, character);
    const QImage image = drawnAlone(character);
    const QRect box(2, 2, PixelFont::textWidth(QString(character)), PixelFont::height());
    const QRect ink = inkBounds(image, qRgb(0, 0, 0));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(box.contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    // The width is tight, so centred lettering is centred.
    QCOMPARE(ink.left(), box.left());
    QCOMPARE(ink.right(), box.right());
}

void TestPixelFont::noTwoGlyphsLookAlike()
{
    // "^0" and "^O", "^1", "^l", "^I" and "^|" must be told apart on the swatches.
    QHash<QByteArray, QChar> seen;
    for (QChar c : ColourCodeCharacters + QStringLiteral("^")) {
        const QImage image = drawnAlone(c);
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        const QByteArray key = QByteArray::number(image.width()) + ':' + pixels;
        QVERIFY2(!seen.contains(key), qPrintable(QStringLiteral("%1 looks like %2").arg(c).arg(seen.value(key))));
        seen.insert(key, c);
    }
}

void TestPixelFont::drawingSetsOnlyTheGivenColour()
{
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(qRgb(0x4C, 0x4C, 0xFF));
    PixelFont::drawText(image, QPoint(1, 1), QStringLiteral("^X Scroll Lock ^~"), QColor(Qt::white));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    QCOMPARE(colours, (QSet<QRgb>{qRgb(0x4C, 0x4C, 0xFF), qRgb(255, 255, 255)}));
}

void TestPixelFont::textWidth_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("colour code") << "^X";
    QTest::newRow("narrow glyphs") << "^!";
    QTest::newRow("with a space") << "Num Lock";
    QTest::newRow("unknown character") << QString("a\x1C" "b");
}

void TestPixelFont::textWidth()
{
    // The width is the sum of the glyphs drawn one after another.
    QFETCH(QString, text);
    QImage image(300, PixelFont::height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelFont::drawText(image, QPoint(0, 0), text, Qt::black);
    const QRect ink = inkBounds(image, qRgb(0, 0, 0));
    const int width = PixelFont::textWidth(text);
    QVERIFY(width >= 0);
    if (!text.isEmpty()) {
        QCOMPARE(ink.left(), 0);
        QCOMPARE(ink.right(), width - 1);
    }
    QVERIFY(PixelFont::textWidth(QStringLiteral("^X")) <= 26); // fits a swatch with margin
}

void TestPixelFont::pixelsOutsideTheImageAreDropped()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelFont::drawText(image, QPoint(-3, -3), QStringLiteral("W@"), Qt::black);
    PixelFont::drawText(image, QPoint(2, 2), QStringLiteral("W@"), Qt::black);
    QVERIFY(!inkBounds(image, qRgb(0, 0, 0)).isEmpty());
}

QTEST_GUILESS_MAIN(TestPixelFont)
#include "TestPixelFont.moc"
