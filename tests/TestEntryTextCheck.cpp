#include "preview/EntryTextCheck.h"

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
};

void TestEntryTextCheck::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<EntryKind>("kind");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<Warnings>("warnings");

    using enum EntryWarning;
    QTest::newRow("empty name") << "" << Name << qsizetype(0) << Warnings{};
    for (const auto& [kind, limit] : {std::pair{Name, 35}, std::pair{Chat, 150}}) {
        for (const int size : {limit - 1, limit, limit + 1})
            QTest::addRow("%s of %d", kind == Name ? "name" : "chat", size)
                << repeated(u"a", size) << kind << qsizetype(size) << (size > limit ? Warnings{TooLong} : Warnings{});
    }
    QTest::newRow("name codes count") << "^1" + repeated(u"a", 34) << Name << qsizetype(36)
                                             << Warnings{TooLong};
    // Windows-1252 holds é in one byte; a character it lacks is written as one "?".
    QTest::newRow("name accented, at") << repeated(u"\u00e9", 35) << Name << qsizetype(35) << Warnings{};
    QTest::newRow("name outside Windows-1252") << QStringLiteral("\U0001F600a") << Name << qsizetype(2)
                                               << Warnings{};
    QTest::newRow("halves of a character, alone, count one each") << QString(QChar(0xDE00)) + u'a' + QChar(0xD83D) << Name
                                                                    << qsizetype(3) << Warnings{};

    QTest::newRow("chat codes count") << repeated(u"^1a", 50) + "b" << Chat << qsizetype(151)
                                      << Warnings{TooLong};
    QTest::newRow("name with the backslash code") << "^\\x" << Name << qsizetype(3) << Warnings{Backslash};
    QTest::newRow("chat may hold a semicolon and a backslash, not a quote") << "a;\\\"" << Chat << qsizetype(4)
                                                                            << Warnings{DoubleQuote};
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
}

QTEST_APPLESS_MAIN(TestEntryTextCheck)
#include "TestEntryTextCheck.moc"
