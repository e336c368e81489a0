#include "palette/SymbolCells.h"

#include "palette/PixelFont.h"
#include "palette/SymbolPalettePicture.h"

#include <algorithm>
#include <iterator>

namespace {

// The drawings of the pictures, each exactly as large as its ink.

QString digitText(int digit)
{
    return QString(QChar(u'0' + digit));
}

int centred(int outer, int inner)
{
    return (outer - inner) / 2;
}

SymbolStamp ringedDigit(int digit)
{
    SymbolStamp stamp(17, 17);
    stamp.ring(8, 8, 8);
    const QString text = digitText(digit);
    stamp.text(centred(17, PixelFont::textWidth(text)), centred(17, PixelFont::capHeight()), text);
    return stamp;
}

// The frame that the keypad's keys share: digits, plus, minus, dot, star.
SymbolStamp keypadKey()
{
    SymbolStamp stamp(13, 15);
    stamp.keyFrame(0, 0, 12, 14);
    return stamp;
}

SymbolStamp framedDigit(int digit)
{
    SymbolStamp stamp = keypadKey();
    const QString text = digitText(digit);
    stamp.text(centred(13, PixelFont::textWidth(text)), centred(15, PixelFont::capHeight()), text);
    return stamp;
}

SymbolStamp largeDigit(int digit)
{
    const QString text = digitText(digit);
    SymbolStamp stamp(PixelFont::textWidth(text) * 2, PixelFont::capHeight() * 2);
    stamp.text(0, 0, text, 2);
    return stamp;
}

SymbolStamp lettering(QStringView first, QStringView second = {})
{
    const int gap = 2;
    const int lineHeight = PixelFont::capHeight();
    const int width = std::max(PixelFont::textWidth(first), PixelFont::textWidth(second));
    SymbolStamp stamp(width, second.isEmpty() ? lineHeight : 2 * lineHeight + gap);
    stamp.text(centred(width, PixelFont::textWidth(first)), 0, first);
    if (!second.isEmpty())
        stamp.text(centred(width, PixelFont::textWidth(second)), lineHeight + gap, second);
    return stamp;
}

SymbolStamp returnArrow()
{
    SymbolStamp stamp(17, 13);
    stamp.keyFrame(0, 0, 16, 12);
    stamp.vertical(12, 3, 7);
    stamp.horizontal(4, 12, 7);
    stamp.vertical(5, 6, 8);
    stamp.vertical(6, 5, 9);
    return stamp;
}

SymbolStamp uprightBars()
{
    SymbolStamp stamp(7, 13);
    stamp.fill(0, 0, 1, 12);
    stamp.fill(5, 0, 6, 12);
    return stamp;
}

SymbolStamp printer()
{
    SymbolStamp stamp(19, 15);
    // The sheet waiting at the top.
    stamp.vertical(5, 0, 4);
    stamp.vertical(13, 0, 4);
    stamp.horizontal(5, 13, 0);
    // The body, with its lamp.
    stamp.keyFrame(0, 4, 18, 10);
    stamp.set(15, 6);
    // The printed sheet in front of the body.
    stamp.fill(5, 8, 13, 13, false);
    stamp.vertical(4, 8, 14);
    stamp.vertical(14, 8, 14);
    stamp.horizontal(4, 14, 14);
    stamp.horizontal(6, 12, 10);
    stamp.horizontal(6, 10, 12);
    return stamp;
}

SymbolStamp framedStar()
{
    SymbolStamp stamp = keypadKey();
    // Eight spokes; the slanted ones start away from the centre so that the
    // middle stays open and the sign does not clot into a blob.
    stamp.vertical(6, 4, 10);
    stamp.horizontal(3, 9, 7);
    for (int k = 2; k <= 3; ++k) {
        stamp.set(6 - k, 7 - k);
        stamp.set(6 + k, 7 - k);
        stamp.set(6 - k, 7 + k);
        stamp.set(6 + k, 7 + k);
    }
    return stamp;
}

SymbolStamp upArrow()
{
    SymbolStamp stamp(13, 15);
    for (int row = 0; row <= 6; ++row) {
        stamp.set(6 - row, row);
        stamp.set(6 + row, row);
    }
    stamp.horizontal(0, 3, 6);
    stamp.horizontal(9, 12, 6);
    stamp.vertical(3, 6, 14);
    stamp.vertical(9, 6, 14);
    stamp.horizontal(3, 9, 14);
    return stamp;
}

SymbolStamp leftArrow()
{
    SymbolStamp stamp(23, 13);
    for (int column = 0; column <= 6; ++column)
        stamp.vertical(column, 6 - column, 6 + column);
    stamp.fill(7, 3, 22, 9);
    return stamp;
}

SymbolStamp padlock()
{
    SymbolStamp stamp(11, 15);
    stamp.horizontal(3, 7, 0);
    stamp.set(2, 1);
    stamp.set(8, 1);
    stamp.vertical(2, 1, 5);
    stamp.vertical(8, 1, 5);
    stamp.fill(0, 6, 10, 14);
    stamp.fill(4, 9, 6, 10, false);
    stamp.fill(5, 11, 5, 12, false);
    return stamp;
}

SymbolStamp framedDot()
{
    SymbolStamp stamp = keypadKey();
    stamp.fill(5, 6, 7, 8);
    return stamp;
}

SymbolStamp framedPlus()
{
    SymbolStamp stamp = keypadKey();
    stamp.horizontal(3, 9, 7);
    stamp.vertical(6, 4, 10);
    return stamp;
}

SymbolStamp framedMinus()
{
    SymbolStamp stamp = keypadKey();
    stamp.horizontal(3, 9, 7);
    return stamp;
}

SymbolStamp tabArrows()
{
    SymbolStamp stamp(21, 13);
    // Right, against a bar.
    stamp.horizontal(0, 18, 2);
    stamp.vertical(17, 1, 3);
    stamp.vertical(16, 0, 4);
    stamp.vertical(20, 0, 4);
    // Left, against a bar.
    stamp.horizontal(2, 20, 10);
    stamp.vertical(3, 9, 11);
    stamp.vertical(4, 8, 12);
    stamp.vertical(0, 8, 12);
    return stamp;
}

using enum SymbolInText;
constexpr QRgb White = SymbolWhite;
constexpr QRgb Green = SymbolPaleGreen;

// Rows are 360 twips apart and 375 high, columns 600 apart and 615 wide, so
// neighbours share a strip one pixel wide. Rows 0 and 1 have a fourth cell.
// The pictured rows are only about 23.5 pixels high, and Label104 starts over
// the ESC picture cell while Label108 reaches into the printer's: the cells,
// not the picture's lines, decide what a click inserts. A new symbol is a row
// here and its drawing above.
// clang-format off
constexpr SymbolCell cells[] = {
    {101, 0, 0, {   0,    0, 615, 375}, 0x1C, false, [] { return ringedDigit(1); }, White, "digit 1 in a ring"},
    {102, 0, 1, { 600,    0, 615, 375}, 0x16, false, [] { return largeDigit(6); },  White, "digit 6"},
    {103, 0, 2, {1200,    0, 615, 375}, 0x1B, false, [] { return lettering(u"ESC"); }, White, "the letters ESC"},
    // U+000E is offered twice; text shows it as the framed dot, one of the
    // framed keypad keys around it.
    {104, 0, 3, {1800,    0, 735, 375}, 0x0E, false, returnArrow,  Green, "return arrow in a small frame", ShownByAnotherCell},
    {106, 1, 0, {   0,  360, 615, 375}, 0x11, false, [] { return framedDigit(1); }, White, "framed digit 1"},
    {107, 1, 1, { 600,  360, 615, 375}, 0x17, false, [] { return largeDigit(7); },  White, "digit 7"},
    {108, 1, 2, {1200,  360, 735, 375}, 0x07, false, uprightBars,  White, "two upright bars"},
    {105, 1, 3, {1920,  360, 615, 375}, 0x0F, false, printer,      Green, "printer"},
    {109, 2, 0, {   0,  720, 615, 375}, 0x1D, false, [] { return ringedDigit(2); }, White, "digit 2 in a ring"},
    {110, 2, 1, { 600,  720, 615, 375}, 0x02, false, framedStar,   White, "star-like sign in a frame"},
    {111, 2, 2, {1200,  720, 615, 375}, 0x05, false, [] { return lettering(u"Num", u"Lock"); }, White, "the words Num Lock"},
    {112, 3, 0, {   0, 1080, 615, 375}, 0x12, false, [] { return framedDigit(2); }, White, "framed digit 2"},
    {113, 3, 1, { 600, 1080, 615, 375}, 0x18, false, [] { return largeDigit(8); },  White, "digit 8"},
    {114, 3, 2, {1200, 1080, 615, 375}, 0x10, false, [] { return framedDigit(0); }, White, "framed digit 0"},
    {115, 4, 0, {   0, 1440, 615, 375}, 0x1E, false, [] { return ringedDigit(3); }, White, "digit 3 in a ring"},
    {116, 4, 1, { 600, 1440, 615, 375}, 0x19, false, [] { return framedDigit(9); }, White, "framed digit 9"},
    {117, 4, 2, {1200, 1440, 615, 375}, 0x06, false, [] { return lettering(u"Scroll", u"Lock"); }, White, "the words Scroll Lock"},
    {118, 5, 0, {   0, 1800, 615, 375}, 0x13, false, [] { return framedDigit(3); }, White, "framed digit 3"},
    {119, 5, 1, { 600, 1800, 615, 375}, 0x03, false, [] { return lettering(u"Alt"); }, White, "the letters Alt"},
    {120, 5, 2, {1200, 1800, 615, 375}, 0x01, false, upArrow,      White, "outlined upward arrow"},
    {121, 6, 0, {   0, 2160, 615, 375}, 0x1F, false, [] { return ringedDigit(4); }, White, "digit 4 in a ring"},
    {122, 6, 1, { 600, 2160, 615, 375}, 0x08, false, leftArrow,    White, "large left arrow"},
    {123, 6, 2, {1200, 2160, 615, 375}, 0x04, false, padlock,      Green, "padlock"},
    {124, 7, 0, {   0, 2520, 615, 375}, 0x14, false, [] { return framedDigit(4); }, White, "framed digit 4"},
    {125, 7, 1, { 600, 2520, 615, 375}, 0x0E, false, framedDot,    White, "framed dot"},
    {126, 7, 2, {1200, 2520, 615, 375}, 0x0B, false, framedPlus,   Green, "framed plus sign"},
    // The framed digits 0 to 9 are U+0010 to U+0019, so the 5 completes them;
    // a visible cell that did nothing would look broken.
    {127, 8, 0, {   0, 2880, 615, 375}, 0x15, false, [] { return framedDigit(5); }, White, "framed digit 5"},
    {128, 8, 1, { 600, 2880, 615, 375}, 0x09, true,  tabArrows,    White, "Tab, two opposed arrows with end bars"},
    {129, 8, 2, {1200, 2880, 615, 375}, 0x0C, false, framedMinus,  Green, "framed minus sign"},
};
// clang-format on

} // namespace

QString SymbolCell::summary() const
{
    const QString code = QString::number(character, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("Symbol U+%1, %2").arg(code, QString::fromLatin1(description));
}

std::span<const SymbolCell> symbolCells()
{
    return cells;
}

std::vector<PaletteCellDefinition> symbolCellDefinitions()
{
    std::vector<PaletteCellDefinition> definitions;
    definitions.reserve(std::size(cells));
    for (const SymbolCell& cell : cells) {
        PaletteCellDefinition definition;
        definition.name = cell.name();
        definition.twips = cell.twips;
        definition.pictured = symbolPictureCell(cell.row, cell.column).adjusted(-1, -1, 1, 1); // with its lines
        if (cell.insertsCaption) {
            definition.caption = cell.text();
            definition.inserts = PaletteCellDefinition::Inserts::Caption;
        } else {
            definition.insertion = cell.text();
        }
        definition.toolTip = cell.summary();
        // A screen reader says what the picture shows; the code is in the tooltip.
        definition.accessibleName = QString::fromLatin1(cell.description);
        definitions.push_back(definition);
    }
    return definitions;
}

const SymbolCell* findSymbolCell(char16_t character)
{
    const auto found = std::ranges::find_if(
        cells, [character](const SymbolCell& cell) { return cell.character == character && cell.inText == Shown; });
    return found == std::end(cells) ? nullptr : found;
}

QImage emptySymbolBox(QSize size, QRgb colour)
{
    SymbolStamp box(size.width(), size.height());
    box.fill(0, 0, size.width() - 1, size.height() - 1);
    box.fill(1, 1, size.width() - 2, size.height() - 2, false);
    return box.picture(colour);
}
