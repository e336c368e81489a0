#include "palette/PixelFont.h"

#include <QSet>
#include <QTest>

namespace {

// Every character the colour codes letter, and the caret in front of them.
const QString LetteredCharacters = QStringLiteral("^0123456789abcdefghijklmnopqrstuvwxyz"
                                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~");

// The glyph drawn alone, in black on white, with a margin of two pixels.
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
    void glyphFillsItsBoxExactly_data();
    void glyphFillsItsBoxExactly();
    void noTwoGlyphsLookAlike();
    void drawingSetsOnlyTheGivenColourAndStaysInTheImage();
};

void TestPixelFont::glyphFillsItsBoxExactly_data()
{
    QTest::addColumn<QChar>("character");
    for (QChar c : LetteredCharacters)
        QTest::newRow(qPrintable(QString(c))) << c;
}

void TestPixelFont::glyphFillsItsBoxExactly()
{
    // A missing glyph letters nothing; one wider or narrower than its width
    // letters a swatch off centre.
    QFETCH(QChar, character);
    const QRect ink = inkBounds(drawnAlone(character), qRgb(0, 0, 0));
    const QRect box(2, 2, PixelFont::textWidth(QString(character)), PixelFont::height());
    QVERIFY(!ink.isEmpty());
    QVERIFY(box.contains(ink));
    QCOMPARE(ink.left(), box.left());
    QCOMPARE(ink.right(), box.right());
}

void TestPixelFont::noTwoGlyphsLookAlike()
{
    // "^0" and "^O", "^1", "^l", "^I" and "^|" must be told apart on the swatches.
    QList<QImage> seen;
    for (QChar c : LetteredCharacters) {
        const QImage image = drawnAlone(c);
        const qsizetype same = seen.indexOf(image);
        QVERIFY2(same < 0, qPrintable(QStringLiteral("%1 looks like %2").arg(c).arg(LetteredCharacters[same])));
        seen.append(image);
    }
}

void TestPixelFont::drawingSetsOnlyTheGivenColourAndStaysInTheImage()
{
    QImage image(60, 6, QImage::Format_RGB32);
    image.fill(qRgb(0x4C, 0x4C, 0xFF));
    // Half of it off the image on every side: those pixels are dropped, not wrapped or crashed on.
    PixelFont::drawText(image, QPoint(-3, -4), QStringLiteral("^X Lock ^~ W@W@W@W@W@"), QColor(Qt::white));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    QCOMPARE(colours, (QSet<QRgb>{qRgb(0x4C, 0x4C, 0xFF), qRgb(255, 255, 255)}));
}

QTEST_GUILESS_MAIN(TestPixelFont)
#include "TestPixelFont.moc"
