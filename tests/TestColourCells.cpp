#include "palette/ColourCells.h"

#include <QSet>
#include <QTest>

namespace {

// The game's colour code characters, in the order of the cells.
const QString CodeSequence = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz"
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~");
constexpr int PanelWidthTwips = 2535;

const ColourCell& cellAt(int row, int column)
{
    return colourCells()[row * ColourColumns + column];
}

} // namespace

class TestColourCells : public QObject
{
    Q_OBJECT

private slots:
    void codesFollowTheGameSequence();
    void namesRunFromLabel4ToLabel93();
    void rowsCoverThePanelWidth();
    void rowsOverlapByOnePixel();
    void columnsTwoAndThree_data();
    void columnsTwoAndThree();
    void colourOfCode_data();
    void colourOfCode();
};

void TestColourCells::codesFollowTheGameSequence()
{
    QCOMPARE(colourCells().size(), size_t(ColourCellCount));
    QString sequence;
    QSet<QString> codes;
    for (const ColourCell& cell : colourCells()) {
        sequence += cell.character;
        codes.insert(cell.code());
        QCOMPARE(cell.code().size(), 2);
        QCOMPARE(cell.code().front(), QLatin1Char('^'));
    }
    QCOMPARE(sequence, CodeSequence);
    QCOMPARE(codes.size(), ColourCellCount);
    for (QChar absent : QStringLiteral(" \";`^"))
        QVERIFY2(!findColourCell(absent), qPrintable(QString(absent)));
}

void TestColourCells::namesRunFromLabel4ToLabel93()
{
    for (const ColourCell& cell : colourCells())
        QCOMPARE(cell.name(), QStringLiteral("Label%1").arg(4 + cell.row() * ColourColumns + cell.column()));
    QCOMPARE(colourCells().front().name(), QStringLiteral("Label4"));
    QCOMPARE(colourCells().back().name(), QStringLiteral("Label93"));
}

void TestColourCells::rowsCoverThePanelWidth()
{
    for (int row = 0; row < ColourRows; ++row) {
        QCOMPARE(cellAt(row, 0).twips.left(), 0);
        QCOMPARE(cellAt(row, ColourColumns - 1).twips.x() + cellAt(row, ColourColumns - 1).twips.width(),
                 PanelWidthTwips);
        for (int column = 0; column < ColourColumns; ++column) {
            const QRect& twips = cellAt(row, column).twips;
            QCOMPARE(twips.top(), 360 * row);
            QCOMPARE(twips.height(), 375);
            // Whole pixels, or cells and picture drift apart.
            QCOMPARE(twips.x() % 15, 0);
            QCOMPARE(twips.width() % 15, 0);
        }
    }
    // The last row ends where a click stops inserting anything.
    QCOMPARE(cellAt(ColourRows - 1, 0).twips.y() + 375, 6495);
}

void TestColourCells::rowsOverlapByOnePixel()
{
    for (int row = 0; row < ColourRows; ++row) {
        for (int column = 1; column < ColourColumns; ++column) {
            const QRect& left = cellAt(row, column - 1).twips;
            const QRect& right = cellAt(row, column).twips;
            const int overlap = left.x() + left.width() - right.x();
            const int expected = (row == 1 && column == 3) ? 135 : 15;
            QVERIFY2(overlap == expected, qPrintable(QStringLiteral("row %1 column %2: %3").arg(row).arg(column).arg(overlap)));
        }
    }
}

void TestColourCells::columnsTwoAndThree_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QRect>("second");
    QTest::addColumn<QRect>("third");

    QTest::newRow("wide second column") << QList<int>{0, 4, 5, 6, 8, 9, 12, 13, 15, 16, 17}
                                        << QRect(960, 0, 615, 375) << QRect(1560, 0, 495, 375);
    QTest::newRow("wide third column") << QList<int>{2, 3, 7, 10, 11, 14}
                                       << QRect(960, 0, 495, 375) << QRect(1440, 0, 615, 375);
    QTest::newRow("both wide") << QList<int>{1} << QRect(960, 0, 615, 375) << QRect(1440, 0, 615, 375);
}

void TestColourCells::columnsTwoAndThree()
{
    QFETCH(QList<int>, rows);
    QFETCH(QRect, second);
    QFETCH(QRect, third);
    for (int row : rows) {
        QCOMPARE(cellAt(row, 2).twips, second.translated(0, 360 * row));
        QCOMPARE(cellAt(row, 3).twips, third.translated(0, 360 * row));
    }
}

void TestColourCells::colourOfCode_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<QString>("colour"); // empty for no code

    QTest::newRow("^0") << QChar('0') << "#000000";
    QTest::newRow("^1") << QChar('1') << "#ff1919";
    QTest::newRow("^7") << QChar('7') << "#ffffff";
    QTest::newRow("^w") << QChar('w') << "#000001";
    QTest::newRow("^! looks like ^0") << QChar('!') << "#000000";
    QTest::newRow("^\\") << QChar('\\') << "#b3446f";
    QTest::newRow("^|") << QChar('|') << "#7adb4a";
    QTest::newRow("^~ last") << QChar('~') << "#c68100";
    QTest::newRow("space") << QChar(' ') << "";
    QTest::newRow("caret") << QChar('^') << "";
    QTest::newRow("grave") << QChar('`') << "";
}

void TestColourCells::colourOfCode()
{
    QFETCH(QChar, character);
    QFETCH(QString, colour);
    const std::optional<QColor> found = ::colourOfCode(character);
    QCOMPARE(found.has_value(), !colour.isEmpty());
    if (found)
        QCOMPARE(found->name(), colour);
}

QTEST_GUILESS_MAIN(TestColourCells)
#include "TestColourCells.moc"
