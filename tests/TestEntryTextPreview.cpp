#include "app/Application.h"
#include "app/EntryTextPreview.h"
#include "app/Form1.h"
#include "preview/GameTextPicture.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QHelpEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>


namespace {

// The picture the tooltip carries inline, decoded again.
QImage pictureIn(const QString& toolTip)
{
    static const QRegularExpression dataUrl(QStringLiteral("data:image/png;base64,([A-Za-z0-9+/=]+)"));
    const QRegularExpressionMatch match = dataUrl.match(toolTip);
    if (!match.hasMatch())
        return {};
    return QImage::fromData(QByteArray::fromBase64(match.captured(1).toLatin1()), "PNG");
}

} // namespace

class TestEntryTextPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*static_cast<QApplication*>(qApp)); }
    void toolTipShowsTheTextAndItsLimit_data();
    void toolTipShowsTheTextAndItsLimit();
};

void TestEntryTextPreview::toolTipShowsTheTextAndItsLimit_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<QString>("warning");

    // The same text counts as a name in Name mode and as a chat message in Bind mode.
    QTest::newRow("name") << "Option1" << "^1A;n" << "Name: 5 of 35 bytes" << "semicolon";
    QTest::newRow("chat message") << "Option2" << "^1A;n" << "Chat message: 5 of 150 characters" << "";
    // A huge text shows only its start, cut short by an ellipsis, and says how long it is.
    QTest::newRow("a million letters") << "Option2" << QString(1'000'000, u'W')
                                       << "Chat message: 1,000,000 of 150 characters (the picture shows the first 300)"
                                       << "Too long";
    QTest::newRow("a million of the widest symbol") << "Option1" << QString(1'000'000, QChar(0x06))
                                                    << "Name: 1,000,000 of 35 bytes (the picture shows the first 300)"
                                                    << "Too long";
}

void TestEntryTextPreview::toolTipShowsTheTextAndItsLimit()
{
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(QString, lengthText);
    QFETCH(QString, warning);

    Form1 form(QDir::currentPath(), DriveCatalog::fromSystem());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* text1 = form.findChild<TextBox*>(QStringLiteral("Text1"));
    form.findChild<QRadioButton*>(option)->click();
    text1->setText(text);
    const QPoint inside = text1->rect().center();
    QHelpEvent hover(QEvent::ToolTip, inside, text1->mapToGlobal(inside));
    QApplication::sendEvent(text1, &hover);

    QTRY_VERIFY(QToolTip::isVisible());
    const QString toolTip = QToolTip::text();
    QVERIFY2(toolTip.contains(lengthText), qPrintable(toolTip.right(200)));
    // Picture, length line, and one line for the warning if there is one.
    QCOMPARE(toolTip.count(QStringLiteral("<br>")), warning.isEmpty() ? 1 : 2);
    QVERIFY2(toolTip.contains(warning), qPrintable(toolTip.right(200)));
    const QImage picture = pictureIn(toolTip);
    QCOMPARE(picture, gameTextPicture(gameTextRuns(text, EntryTextPreviewCharacters)).convertToFormat(picture.format()));
    // However long the text, the picture fits on a small screen.
    QVERIFY(picture.width() <= GameTextPictureMaxWidth && picture.height() <= 480);
    // Only informs: the text is left exactly as it was.
    QCOMPARE(text1->text(), text);

    // The shown tooltip follows a palette insertion.
    text1->setSelection(0, 2);
    text1->setSelText(QStringLiteral("^4"));
    QVERIFY(QToolTip::isVisible());
    const QImage followed = pictureIn(QToolTip::text());
    QCOMPARE(followed, gameTextPicture(gameTextRuns(text1->text(), EntryTextPreviewCharacters)).convertToFormat(followed.format()));
    QToolTip::hideText();
}

QTEST_MAIN(TestEntryTextPreview)
#include "TestEntryTextPreview.moc"
