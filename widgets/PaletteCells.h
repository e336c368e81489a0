#pragma once

#include "palette/PaletteCellDefinition.h"

#include <QList>

#include <span>

class PaletteCell;
class TextBox;
class PictureBox;

// Lays the cells of a palette table over its panel, in table order, so that
// where two cells share a strip the later one receives the click. Each click
// inserts into target, and so does Space or Return on the cell marked from
// the keyboard, the first one to begin with.
QList<PaletteCell*> addPaletteCells(PictureBox& panel, TextBox& target, std::span<const PaletteCellDefinition> cells);
