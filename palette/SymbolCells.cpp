#include "palette/SymbolCells.h"

#include <array>

namespace {

using P = SymbolPicture;

// Rows are 360 twips apart and 375 high, columns 600 apart and 615 wide, so
// neighbours share a strip one pixel wide. Rows 0 and 1 have a fourth cell.
// The pictured rows are only about 23.5 pixels high, and Label104 starts over
// the ESC picture cell while Label108 reaches into the printer's: the cells,
// not the picture's lines, decide what a click inserts.
// clang-format off
const std::array<SymbolCell, SymbolCellCount> cells = {{
    {101, 0, 0, {   0,    0, 615, 375}, 0x1C, false, P::RingedDigit1, "digit 1 in a ring"},
    {102, 0, 1, { 600,    0, 615, 375}, 0x16, false, P::Digit6,       "digit 6"},
    {103, 0, 2, {1200,    0, 615, 375}, 0x1B, false, P::Escape,       "the letters ESC"},
    {104, 0, 3, {1800,    0, 735, 375}, 0x0E, false, P::ReturnArrow,  "return arrow in a small frame"},
    {106, 1, 0, {   0,  360, 615, 375}, 0x11, false, P::FramedDigit1, "framed digit 1"},
    {107, 1, 1, { 600,  360, 615, 375}, 0x17, false, P::Digit7,       "digit 7"},
    {108, 1, 2, {1200,  360, 735, 375}, 0x07, false, P::UprightBars,  "two upright bars"},
    {105, 1, 3, {1920,  360, 615, 375}, 0x0F, false, P::Printer,      "printer"},
    {109, 2, 0, {   0,  720, 615, 375}, 0x1D, false, P::RingedDigit2, "digit 2 in a ring"},
    {110, 2, 1, { 600,  720, 615, 375}, 0x02, false, P::FramedStar,   "star-like sign in a frame"},
    {111, 2, 2, {1200,  720, 615, 375}, 0x05, false, P::NumLock,      "the words Num Lock"},
    {112, 3, 0, {   0, 1080, 615, 375}, 0x12, false, P::FramedDigit2, "framed digit 2"},
    {113, 3, 1, { 600, 1080, 615, 375}, 0x18, false, P::Digit8,       "digit 8"},
    {114, 3, 2, {1200, 1080, 615, 375}, 0x10, false, P::FramedDigit0, "framed digit 0"},
    {115, 4, 0, {   0, 1440, 615, 375}, 0x1E, false, P::RingedDigit3, "digit 3 in a ring"},
    {116, 4, 1, { 600, 1440, 615, 375}, 0x19, false, P::FramedDigit9, "framed digit 9"},
    {117, 4, 2, {1200, 1440, 615, 375}, 0x06, false, P::ScrollLock,   "the words Scroll Lock"},
    {118, 5, 0, {   0, 1800, 615, 375}, 0x13, false, P::FramedDigit3, "framed digit 3"},
    {119, 5, 1, { 600, 1800, 615, 375}, 0x03, false, P::Alt,          "the letters Alt"},
    {120, 5, 2, {1200, 1800, 615, 375}, 0x01, false, P::UpArrow,      "outlined upward arrow"},
    {121, 6, 0, {   0, 2160, 615, 375}, 0x1F, false, P::RingedDigit4, "digit 4 in a ring"},
    {122, 6, 1, { 600, 2160, 615, 375}, 0x08, false, P::LeftArrow,    "large left arrow"},
    {123, 6, 2, {1200, 2160, 615, 375}, 0x04, false, P::Padlock,      "padlock"},
    {124, 7, 0, {   0, 2520, 615, 375}, 0x14, false, P::FramedDigit4, "framed digit 4"},
    {125, 7, 1, { 600, 2520, 615, 375}, 0x0E, false, P::FramedDot,    "framed dot"},
    {126, 7, 2, {1200, 2520, 615, 375}, 0x0B, false, P::FramedPlus,   "framed plus sign"},
    // The framed digits 0 to 9 are U+0010 to U+0019, so the 5 completes them;
    // a visible cell that did nothing would look broken.
    {127, 8, 0, {   0, 2880, 615, 375}, 0x15, false, P::FramedDigit5, "framed digit 5"},
    {128, 8, 1, { 600, 2880, 615, 375}, 0x09, true,  P::TabArrows,    "Tab, two opposed arrows with end bars"},
    {129, 8, 2, {1200, 2880, 615, 375}, 0x0C, false, P::FramedMinus,  "framed minus sign"},
}};
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
    definitions.reserve(cells.size());
    for (const SymbolCell& cell : cells) {
        PaletteCellDefinition definition;
        definition.name = cell.name();
        definition.twips = cell.twips;
        if (cell.insertsCaption) {
            definition.caption = cell.text();
            definition.inserts = PaletteCellDefinition::Inserts::Caption;
        } else {
            definition.insertion = cell.text();
        }
        definition.toolTip = cell.summary();
        definition.accessibleName = cell.summary();
        definitions.push_back(definition);
    }
    return definitions;
}
