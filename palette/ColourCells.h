#pragma once

#include "palette/PaletteCellDefinition.h"

#include <QChar>
#include <QColor>
#include <QRect>
#include <QString>

#include <optional>
#include <span>
#include <vector>

// The colour palette's one table: from it come the picture, the click cells
// and the codes they insert. A code is a caret followed by one character; the
// game colours the text after it.

inline constexpr int ColourColumns = 5;
inline constexpr int ColourRows = 18;
inline constexpr int ColourCellCount = ColourColumns * ColourRows;

enum class Lettering {
    White,
    Black,
};

struct ColourCell
{
    int index = 0; // 0 to 89, in the order of the code sequence
    QChar character; // the character after the caret
    QColor swatch;
    Lettering lettering = Lettering::Black;
    QRect twips; // the click cell within the panel

    int row() const { return index / ColourColumns; }
    int column() const { return index % ColourColumns; }
    // "Label4" for the first cell to "Label93" for the last.
    QString name() const { return QStringLiteral("Label%1").arg(4 + index); }
    QString code() const { return QStringLiteral("^") + character; }
    QColor letteringColour() const { return lettering == Lettering::White ? QColor(Qt::white) : QColor(Qt::black); }
    // "red", "dark blue", "greyish green": the swatch in a word or two, for
    // people who hear the palette instead of seeing it.
    QString colourWords() const;
    // The swatch's rectangle in the picture, border included, in pixels.
    QRect pictureRect() const;
};

// All 90 cells, row by row and left to right within a row.
std::span<const ColourCell> colourCells();

// The cells as the palette panel lays them: each inserts its code.
std::vector<PaletteCellDefinition> colourCellDefinitions();

// The cell whose code is the caret followed by character; nullptr when no
// code uses it (the space, the double quote, the semicolon, ...).
const ColourCell* findColourCell(QChar character);

// The colour of the swatch of "^" + character, the colour the game gives the
// text that follows the code.
std::optional<QColor> colourOfCode(QChar character);
