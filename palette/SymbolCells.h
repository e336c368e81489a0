#pragma once

#include "palette/PaletteCellDefinition.h"
#include "palette/SymbolDrawing.h"

#include <QRect>
#include <QString>

#include <span>
#include <vector>

// The symbol palette's one table: from it come the picture, the click cells
// and the characters they insert. The characters are control characters
// that the game's font draws as small pictures.

inline constexpr int SymbolCellCount = 29;

struct SymbolCell
{
    int label = 0; // 101 for Label101
    int row = 0;   // 0 to 8
    int column = 0; // 0 to 3; column 3 exists only in rows 0 and 1
    QRect twips;   // the click cell within the panel
    char16_t character = 0; // what a click inserts
    bool insertsCaption = false; // the character is the cell's caption, read at the click
    SymbolPicture picture{};
    const char* description = ""; // what the picture shows, in words

    QString name() const { return QStringLiteral("Label%1").arg(label); }
    QString text() const { return QString(QChar(character)); }
    // "Symbol U+001C, digit 1 in a ring": for tooltips and screen readers.
    QString summary() const;
};

// All 29 cells, row by row and left to right within a row.
std::span<const SymbolCell> symbolCells();

// The table as the generic palette cells take it.
std::vector<PaletteCellDefinition> symbolCellDefinitions();
