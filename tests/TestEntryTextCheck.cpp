#include "preview/EntryTextCheck.h"

#include <QTest>

Q_DECLARE_METATYPE(EntryKind)
Q_DECLARE_METATYPE(std::vector<EntryWarning>)

class TestEntryTextCheck : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
};

void TestEntryTextCheck::check_data()
{
    using Warnings = std::vector<EntryWarning>;
    using enum EntryWarning;
    QTest::addColumn<QString>("text");
    QTest::addColumn<EntryKind>("kind");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<Warnings>("warnings");

    for (const auto& [kind, limit] : {std::pair{EntryKind::Name, 35}, std::pair{EntryKind::ChatMessage, 150}}) {
        for (const int size : {limit, limit + 1})
            QTest::addRow("%s of %d", kind == EntryKind::Name ? "name" : "chat", size)
                << QString(size, u'a') << kind << qsizetype(size) << (size > limit ? Warnings{TooLong} : Warnings{});
    }
    QTest::newRow("codes count") << "^1" + QString(34, u'a') << EntryKind::Name << qsizetype(36) << Warnings{TooLong};
    // Windows-1252 holds é in one byte; a character it lacks is written as one "?".
    QTest::newRow("accented") << QString(35, u'\u00e9') << EntryKind::Name << qsizetype(35) << Warnings{};
    QTest::newRow("outside Windows-1252") << QStringLiteral("\U0001F600a") << EntryKind::Name << qsizetype(2) << Warnings{};
    QTest::newRow("chat may hold a semicolon and a backslash, not a quote")
        << "a;\\\"" << EntryKind::ChatMessage << qsizetype(4) << Warnings{DoubleQuote};
    QTest::newRow("name with everything") << QString(33, u'x') + "\";\\" << EntryKind::Name << qsizetype(36)
                                          << Warnings{TooLong, DoubleQuote, Semicolon, Backslash};
}

void TestEntryTextCheck::check()
{
    QFETCH(QString, text);
    QFETCH(EntryKind, kind);
    QFETCH(qsizetype, length);
    QFETCH(std::vector<EntryWarning>, warnings);

    const EntryTextCheck check = checkEntryText(text, kind);
    QCOMPARE(check.length, length);
    QVERIFY(check.warnings == warnings);
}

QTEST_APPLESS_MAIN(TestEntryTextCheck)
#include "TestEntryTextCheck.moc"
