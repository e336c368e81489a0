#include "app/Application.h"
#include "app/Form1.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QHelpEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>

#include <memory>

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

bool holdsColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class TestEntryTextPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void toolTipShowsTheTextAndItsLimit_data();
    void toolTipShowsTheTextAndItsLimit();
    void toolTipFollowsTheText();

private:
    void hoverText1();

    std::unique_ptr<Form1> m_form;
    TextBox* m_text1 = nullptr;
};

void TestEntryTextPreview::initTestCase()
{
    configureApplication(*static_cast<QApplication*>(qApp));
}

void TestEntryTextPreview::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
}

void TestEntryTextPreview::cleanup()
{
    QToolTip::hideText();
    m_form.reset();
}

void TestEntryTextPreview::hoverText1()
{
    const QPoint inside = m_text1->rect().center();
    QHelpEvent event(QEvent::ToolTip, inside, m_text1->mapToGlobal(inside));
    QApplication::sendEvent(m_text1, &event);
}

void TestEntryTextPreview::toolTipShowsTheTextAndItsLimit_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<QString>("warning");

    // The same text counts as a name in Name mode and as a chat message in Bind mode.
    QTest::newRow("name") << "Option1" << "^1A;n" << "Name: 5 of 35 bytes" << "semicolon";
    QTest::newRow("chat message") << "Option2" << "^1A;n" << "Chat message: 5 of 150 characters" << "";
    QTest::newRow("long name") << "Option1" << "^1" + QString(34, QLatin1Char('a')) << "Name: 36 of 35 bytes"
                               << "Too long";
}

void TestEntryTextPreview::toolTipShowsTheTextAndItsLimit()
{
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(QString, lengthText);
    QFETCH(QString, warning);

    m_form->findChild<QRadioButton*>(option)->click();
    m_text1->setText(text);
    hoverText1();

    QTRY_VERIFY(QToolTip::isVisible());
    const QString toolTip = QToolTip::text();
    QVERIFY2(toolTip.contains(lengthText), qPrintable(toolTip.right(200)));
    // Picture, length line, and one line for the warning if there is one.
    QCOMPARE(toolTip.count(QStringLiteral("<br>")), warning.isEmpty() ? 1 : 2);
    QVERIFY2(toolTip.contains(warning), qPrintable(toolTip.right(200)));
    QVERIFY(holdsColour(pictureIn(toolTip), 0xFFFF1919));
    // Only informs: the text is left exactly as it was.
    QCOMPARE(m_text1->text(), text);
}

void TestEntryTextPreview::toolTipFollowsTheText()
{
    m_form->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
    m_text1->setText(QStringLiteral("^1Ann"));
    hoverText1();
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(!holdsColour(pictureIn(QToolTip::text()), 0xFF4C4CFF));

    m_text1->setSelection(0, 2);
    m_text1->setSelText(QStringLiteral("^4"));
    QVERIFY(QToolTip::isVisible());
    QVERIFY(holdsColour(pictureIn(QToolTip::text()), 0xFF4C4CFF));
    QVERIFY(!holdsColour(pictureIn(QToolTip::text()), 0xFFFF1919));
}

QTEST_MAIN(TestEntryTextPreview)
#include "TestEntryTextPreview.moc"
