#pragma once

#include "palette/PaletteCellDefinition.h"
#include "palette/SymbolStamp.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>

#include <span>
#include <vector>

// The symbol palette's one table: from it come the picture, the click cells,
// the characters they insert and how text shows those characters. The
// characters are control characters that the game's font draws as small
// pictures; each cell holds the drawing of its picture.

inline constexpr QRgb SymbolWhite = 0xFFFFFFFF;
inline constexpr QRgb SymbolPaleGreen = 0xFFB8F0A0;

// Whether text shows a cell's character with the cell's picture. A character
// that two cells offer is shown with one of their pictures.
enum class SymbolInText {
    Shown,
    ShownByAnotherCell,
};

struct SymbolCell
{
    int label = 0; // 101 for Label101
    int row = 0;   // 0 to 8
    int column = 0; // 0 to 3; column 3 exists only in rows 0 and 1
    QRect twips;   // the click cell within the panel
    char16_t character = 0; // what a click inserts
    bool insertsCaption = false; // the character is the cell's caption, read at the click
    SymbolStamp (*drawing)() = nullptr; // the picture, exactly as large as what it shows
    QRgb ink = SymbolWhite; // the colour the picture is drawn in
    const char* description = ""; // what the picture shows, in words, as a screen reader says it
    SymbolInText inText = SymbolInText::Shown;

    QString name() const { return QStringLiteral("Label%1").arg(label); }
    QString text() const { return QString(QChar(character)); }
    // "Symbol U+001C, digit 1 in a ring": for the tooltip.
    QString summary() const;
    // The picture alone, in its ink, transparent around the ink.
    QImage picture() const { return drawing().picture(ink); }
};

// All cells, row by row and left to right within a row.
std::span<const SymbolCell> symbolCells();

// The table as the generic palette cells take it.
std::vector<PaletteCellDefinition> symbolCellDefinitions();

// The cell whose picture text shows for character; nullptr for a character
// that no cell offers.
const SymbolCell* findSymbolCell(char16_t character);

// What text shows, as the game's font does, for a control character that no
// cell offers: an empty box of size in colour.
QImage emptySymbolBox(QSize size, QRgb colour);
