#include "palette/ColourCells.h"

#include <algorithm>
#include <array>

namespace {

// Columns 2 and 3 of a row come in three widths; the cells of a row always
// cover the panel's whole width, 0 to 2535 twips, and overlap their
// neighbours by one pixel.
enum class Columns {
    WideSecond, // column 2 wide, column 3 narrow
    WideThird,  // column 2 narrow, column 3 wide and further left
    BothWide,   // both wide: they share a strip of 135 twips
};

struct Span
{
    int left, width;
};

constexpr std::array<Span, ColourColumns> spansFor(Columns columns)
{
    switch (columns) {
    case Columns::WideSecond:
        return {{{0, 495}, {480, 495}, {960, 615}, {1560, 495}, {2040, 495}}};
    case Columns::WideThird:
        return {{{0, 495}, {480, 495}, {960, 495}, {1440, 615}, {2040, 495}}};
    case Columns::BothWide:
        break;
    }
    return {{{0, 495}, {480, 495}, {960, 615}, {1440, 615}, {2040, 495}}};
}

constexpr int RowPitchTwips = 360;
constexpr int CellHeightTwips = 375;

struct Swatch
{
    char character;
    QRgb colour;
    Lettering lettering;
};

struct Row
{
    Columns columns;
    std::array<Swatch, ColourColumns> swatches;
};

constexpr auto W = Lettering::White;
constexpr auto B = Lettering::Black;
using enum Columns;

// clang-format off
constexpr std::array<Row, ColourRows> rows = {{
    {WideSecond, {{{'0', 0x000000, W}, {'1', 0xFF1919, W}, {'2', 0xA9C274, B}, {'3', 0xFFFF00, B}, {'4', 0x4C4CFF, B}}}},
    {BothWide,   {{{'5', 0x00FDFD, B}, {'6', 0xFF00FF, B}, {'7', 0xFFFFFF, B}, {'8', 0x7A00D8, W}, {'9', 0x3CDCB5, B}}}},
    {WideThird,  {{{'a', 0x00F3B5, B}, {'b', 0xDC903C, B}, {'c', 0xD743CE, B}, {'d', 0x7FACDA, B}, {'e', 0xD80086, W}}}},
    {WideThird,  {{{'f', 0x70C4CE, B}, {'g', 0x81F229, B}, {'h', 0x860028, W}, {'i', 0x254AAD, W}, {'j', 0x4AD800, W}}}},
    {WideSecond, {{{'k', 0xCEB281, B}, {'l', 0x90C4F2, B}, {'m', 0xBD25B6, B}, {'n', 0x4E7F32, W}, {'o', 0xAF6B70, B}}}},
    {WideSecond, {{{'p', 0x24946B, W}, {'q', 0xAF9594, B}, {'r', 0xB653B2, B}, {'s', 0x320022, W}, {'t', 0x7A0028, W}}}},
    {WideSecond, {{{'u', 0x3C24B5, W}, {'v', 0x0DD743, W}, {'w', 0x000001, W}, {'x', 0x000D29, W}, {'y', 0x0E90C4, W}}}},
    {WideThird,  {{{'z', 0xB28132, W}, {'A', 0x4A00EF, W}, {'B', 0x3CDC29, W}, {'C', 0xED5124, W}, {'D', 0x324E7F, W}}}},
    {WideSecond, {{{'E', 0x6CAF28, W}, {'F', 0x002470, W}, {'G', 0x48AA25, W}, {'H', 0x956C81, B}, {'I', 0x4EC4DC, B}}}},
    {WideSecond, {{{'J', 0x94AF95, B}, {'K', 0xADDB81, B}, {'L', 0xB27AD8, B}, {'M', 0x00D87A, W}, {'N', 0xD18900, W}}}},
    {WideThird,  {{{'O', 0xB5BDF2, B}, {'P', 0x00F800, W}, {'Q', 0xF34BBD, B}, {'R', 0x293CDC, W}, {'S', 0x43F229, W}}}},
    {WideThird,  {{{'T', 0xCE4E3C, W}, {'U', 0x9043F2, B}, {'V', 0x7BC8AD, B}, {'W', 0x8600B6, W}, {'X', 0x25B4AB, B}}}},
    {WideSecond, {{{'Y', 0x86D700, W}, {'Z', 0xAF95DC, B}, {'!', 0x000000, W}, {'#', 0x000000, W}, {'$', 0xFF0000, W}}}},
    {WideSecond, {{{'%', 0x0000FF, W}, {'&', 0x0000FF, W}, {'(', 0xFA00FA, B}, {')', 0x00FFFF, B}, {'*', 0xECECEC, B}}}},
    {WideThird,  {{{'+', 0xB7B7B7, B}, {'-', 0x3F3F3F, W}, {',', 0x7E7E7E, W}, {'.', 0x5D42B8, W}, {'\\', 0xB3446F, W}}}},
    {WideSecond, {{{'/', 0x320065, W}, {'<', 0x00FFFF, B}, {'>', 0x25AFA7, W}, {'[', 0x3BAC92, W}, {']', 0x25B695, W}}}},
    {WideSecond, {{{'{', 0xBD0E00, W}, {'}', 0x254952, W}, {':', 0xF3B27F, B}, {'=', 0x69AB8E, B}, {'?', 0x85D74E, B}}}},
    {WideSecond, {{{'@', 0xC68100, W}, {'_', 0xFF0000, W}, {'\'', 0xF4F4F4, B}, {'|', 0x7ADB4A, B}, {'~', 0xC68100, W}}}},
}};
// clang-format on

std::array<ColourCell, ColourCellCount> buildCells()
{
    std::array<ColourCell, ColourCellCount> cells;
    for (int row = 0; row < ColourRows; ++row) {
        const std::array<Span, ColourColumns> spans = spansFor(rows[row].columns);
        for (int column = 0; column < ColourColumns; ++column) {
            const Swatch& swatch = rows[row].swatches[column];
            const int index = row * ColourColumns + column;
            cells[index] = ColourCell{index,
                                      QChar::fromLatin1(swatch.character),
                                      QColor::fromRgb(swatch.colour),
                                      swatch.lettering,
                                      QRect(spans[column].left, row * RowPitchTwips, spans[column].width,
                                            CellHeightTwips)};
        }
    }
    return cells;
}

// Colours are named by where their hue falls, in degrees, and greys by their
// lightness; each word holds up to its limit.
struct Word
{
    double limit;
    const char* word;
};

constexpr std::array<Word, 15> hueWords{{
    {11, "red"}, {22, "red-orange"}, {40, "orange"}, {65, "yellow"}, {95, "yellow-green"}, {155, "green"},
    {175, "turquoise"}, {195, "cyan"}, {215, "sky blue"}, {250, "blue"}, {275, "violet"}, {295, "purple"},
    {318, "magenta"}, {340, "pink"}, {360, "red"},
}};

constexpr std::array<Word, 5> greyWords{{
    {0.2, "black"}, {0.4, "dark grey"}, {0.65, "grey"}, {0.85, "light grey"}, {1, "white"},
}};

template<std::size_t Count>
QString wordFor(const std::array<Word, Count>& words, double value)
{
    const auto found = std::ranges::find_if(words, [value](const Word& word) { return value <= word.limit; });
    return QString::fromLatin1(found == words.end() ? words.back().word : found->word);
}

} // namespace

QString ColourCell::colourWords() const
{
    const double lightness = swatch.lightnessF();
    // How far the colour is from a grey of the same lightness, 0 to 1.
    const double strength = std::max({swatch.redF(), swatch.greenF(), swatch.blueF()})
                            - std::min({swatch.redF(), swatch.greenF(), swatch.blueF()});
    if (lightness < 0.07 || strength < 0.1)
        return wordFor(greyWords, lightness);
    const QString hue = wordFor(hueWords, swatch.hslHueF() * 360);
    // Orange darkened or greyed is what people call brown or tan, and a dark pink looks purple.
    if (hue == u"orange" && lightness < 0.42)
        return QStringLiteral("brown");
    if (hue == u"orange" && strength < 0.33)
        return QStringLiteral("tan");
    if (lightness < 0.3)
        return QStringLiteral("dark ") + (hue == u"pink" ? QStringLiteral("purple") : hue);
    if (lightness > 0.7)
        return QStringLiteral("light ") + hue;
    if (strength < 0.3)
        return QStringLiteral("greyish ") + hue;
    return hue;
}

QRect ColourCell::pictureRect() const
{
    return QRect(34 * column(), 24 * row(), 32, 22);
}

std::span<const ColourCell> colourCells()
{
    static const std::array<ColourCell, ColourCellCount> cells = buildCells();
    return cells;
}

const ColourCell* findColourCell(QChar character)
{
    const std::span<const ColourCell> cells = colourCells();
    const auto found = std::ranges::find(cells, character, &ColourCell::character);
    return found == cells.end() ? nullptr : &*found;
}

std::optional<QColor> colourOfCode(QChar character)
{
    if (const ColourCell* cell = findColourCell(character))
        return cell->swatch;
    return std::nullopt;
}

std::vector<PaletteCellDefinition> colourCellDefinitions()
{
    std::vector<PaletteCellDefinition> definitions;
    definitions.reserve(ColourCellCount);
    for (const ColourCell& cell : colourCells()) {
        const QString code = cell.code();
        definitions.push_back({.name = cell.name(),
                               .twips = cell.twips,
                               .pictured = cell.pictureRect(),
                               .insertion = code,
                               .caption = {},
                               .toolTip = code,
                               .accessibleName = code + QStringLiteral(", ") + cell.colourWords()});
    }
    return definitions;
}
