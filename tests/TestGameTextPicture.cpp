#include "palette/SymbolDrawing.h"
#include "preview/GameTextPicture.h"

#include <QHash>
#include <QSet>
#include <QTest>

namespace {

QImage pictureOf(QStringView text)
{
    return gameTextPicture(gameTextRuns(text));
}

// How many pixels of each colour the image holds.
QHash<QRgb, int> pixelCounts(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    }
    return counts;
}

} // namespace

class TestGameTextPicture : public QObject
{
    Q_OBJECT

private slots:
    void textTakesExactlyTheColoursOfItsCodes_data();
    void textTakesExactlyTheColoursOfItsCodes();
    void symbolsAreDrawnWhole_data();
    void symbolsAreDrawnWhole();
    void longTextWraps();
};

void TestGameTextPicture::textTakesExactlyTheColoursOfItsCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QRgb>>("colours");

    QTest::newRow("two codes") << "^1Hi^4Ho" << QList<QRgb>{0xFFFF1919, 0xFF4C4CFF};
    QTest::newRow("codes only") << "^1^2" << QList<QRgb>{};
    QTest::newRow("doubled caret is drawn") << "^^" << QList<QRgb>{0xFFFFFFFF};
    // U+001A has no picture in the game's font; the player still sees that
    // something is there, in the colour of the text around it.
    QTest::newRow("control character without a picture") << QStringLiteral("^1\x1a") << QList<QRgb>{0xFFFF1919};
}

void TestGameTextPicture::textTakesExactlyTheColoursOfItsCodes()
{
    QFETCH(QString, text);
    QFETCH(QList<QRgb>, colours);

    QSet<QRgb> expected(colours.begin(), colours.end());
    expected.insert(GameTextBackground);
    const QList<QRgb> shown = pixelCounts(pictureOf(text)).keys();
    QCOMPARE(QSet<QRgb>(shown.begin(), shown.end()), expected);
}

void TestGameTextPicture::symbolsAreDrawnWhole_data()
{
    QTest::addColumn<QChar>("character");
    for (char16_t character = 0x01; character <= 0x1F; ++character) {
        if (symbolPictureOf(character))
            QTest::addRow("U+%04X", unsigned(character)) << QChar(character);
    }
}

void TestGameTextPicture::symbolsAreDrawnWhole()
{
    QFETCH(QChar, character);

    // The same drawing as the palette's, with room to spare: every ink pixel
    // must reach the preview, none clipped by the line.
    QImage roomy(80, 40, QImage::Format_RGB32);
    roomy.fill(Qt::black);
    QVERIFY(drawSymbol(roomy, roomy.rect(), character.unicode()));
    const QRgb ink = symbolInk(*symbolPictureOf(character.unicode())).rgb();

    const QImage preview = pictureOf(QStringLiteral("^1") + character + QStringLiteral("^1"));
    QCOMPARE(pixelCounts(preview).value(ink), pixelCounts(roomy).value(ink));
    QVERIFY(pixelCounts(preview).value(ink) > 0);
}

void TestGameTextPicture::longTextWraps()
{
    const QImage oneLine = pictureOf(u"W");
    const QImage full = pictureOf(QString(150, QLatin1Char('W')));
    QVERIFY(full.width() <= GameTextPictureMaxWidth);
    QVERIFY(full.height() >= 3 * oneLine.height() / 2);
    // Nothing of the text is lost to the wrapping.
    QCOMPARE(pixelCounts(full).value(0xFFFFFFFF), 150 * pixelCounts(oneLine).value(0xFFFFFFFF));
}

QTEST_MAIN(TestGameTextPicture)
#include "TestGameTextPicture.moc"
