#pragma once

#include "palette/PaletteCellDefinition.h"

#include <QList>

#include <span>

class PaletteCell;
class TextBox;
class QWidget;

// Lays the cells of a palette table over its panel, in table order, so that
// where two cells share a strip the later one receives the click. Each click
// inserts into target.
QList<PaletteCell*> addPaletteCells(QWidget& panel, TextBox& target, std::span<const PaletteCellDefinition> cells);
