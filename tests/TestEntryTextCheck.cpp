#include "cfgfile/EntryTextCheck.h"

#include <QTest>

Q_DECLARE_METATYPE(EntryKind)
Q_DECLARE_METATYPE(std::vector<EntryWarning>)

namespace {

using Warnings = std::vector<EntryWarning>;
constexpr auto Name = EntryKind::Name;
constexpr auto Chat = EntryKind::ChatMessage;

QString repeated(QStringView piece, int times)
{
    return piece.toString().repeated(times);
}

} // namespace

class TestEntryTextCheck : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void lengthTextNamesTheUnit();
};

void TestEntryTextCheck::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<EntryKind>("kind");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<Warnings>("warnings");

    using enum EntryWarning;
    QTest::newRow("empty name") << "" << Name << qsizetype(0) << Warnings{};
    QTest::newRow("name below the limit") << repeated(u"a", 34) << Name << qsizetype(34) << Warnings{};
    QTest::newRow("name at the limit") << repeated(u"a", 35) << Name << qsizetype(35) << Warnings{};
    QTest::newRow("name above the limit") << repeated(u"a", 36) << Name << qsizetype(36) << Warnings{TooLong};
    QTest::newRow("name codes count, at") << "^1" + repeated(u"a", 33) << Name << qsizetype(35) << Warnings{};
    QTest::newRow("name codes count, above") << "^1" + repeated(u"a", 34) << Name << qsizetype(36)
                                             << Warnings{TooLong};
    QTest::newRow("name symbols count") << QStringLiteral("\x1c").repeated(36) << Name << qsizetype(36)
                                        << Warnings{TooLong};
    // Windows-1252 holds é in one byte; a character it lacks is written as one "?".
    QTest::newRow("name accented, at") << repeated(u"\u00e9", 35) << Name << qsizetype(35) << Warnings{};
    QTest::newRow("name outside Windows-1252") << QStringLiteral("\U0001F600a") << Name << qsizetype(2)
                                               << Warnings{};

    QTest::newRow("chat below the limit") << repeated(u"a", 149) << Chat << qsizetype(149) << Warnings{};
    QTest::newRow("chat at the limit") << repeated(u"a", 150) << Chat << qsizetype(150) << Warnings{};
    QTest::newRow("chat above the limit") << repeated(u"a", 151) << Chat << qsizetype(151) << Warnings{TooLong};
    QTest::newRow("chat codes count") << repeated(u"^1a", 50) + "b" << Chat << qsizetype(151)
                                      << Warnings{TooLong};
    QTest::newRow("chat of a name's length") << repeated(u"a", 36) << Chat << qsizetype(36) << Warnings{};

    QTest::newRow("name with a double quote") << "a\"b" << Name << qsizetype(3) << Warnings{DoubleQuote};
    QTest::newRow("chat with a double quote") << "\"" << Chat << qsizetype(1) << Warnings{DoubleQuote};
    QTest::newRow("name with a semicolon") << "a;b" << Name << qsizetype(3) << Warnings{Semicolon};
    QTest::newRow("chat may hold a semicolon") << "a;b" << Chat << qsizetype(3) << Warnings{};
    QTest::newRow("name with a backslash") << "a\\b" << Name << qsizetype(3) << Warnings{Backslash};
    QTest::newRow("name with the backslash code") << "^\\x" << Name << qsizetype(3) << Warnings{Backslash};
    QTest::newRow("chat may hold a backslash") << "a\\b" << Chat << qsizetype(3) << Warnings{};
    QTest::newRow("name with everything") << repeated(u"x", 33) + "\";\\" << Name << qsizetype(36)
                                          << Warnings{TooLong, DoubleQuote, Semicolon, Backslash};
}

void TestEntryTextCheck::check()
{
    QFETCH(QString, text);
    QFETCH(EntryKind, kind);
    QFETCH(qsizetype, length);
    QFETCH(Warnings, warnings);

    const EntryTextCheck check = checkEntryText(text, kind);
    QCOMPARE(check.length, length);
    QCOMPARE(check.limit, kind == Name ? 35 : 150);
    QVERIFY(check.warnings == warnings);
    for (EntryWarning warning : check.warnings)
        QVERIFY(!check.warningText(warning).isEmpty());
}

void TestEntryTextCheck::lengthTextNamesTheUnit()
{
    QCOMPARE(checkEntryText(u"^1Hi", Name).lengthText(), QStringLiteral("Name: 4 of 35 bytes"));
    QCOMPARE(checkEntryText(u"^1Hi", Chat).lengthText(), QStringLiteral("Chat message: 4 of 150 characters"));
}

QTEST_APPLESS_MAIN(TestEntryTextCheck)
#include "TestEntryTextCheck.moc"
