#include "palette/SymbolPalette.h"

#include "palette/PaletteCells.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"
#include "platform/PictureBox.h"

void fillSymbolPalette(PictureBox& panel, TextBox& target)
{
    panel.setPicture(symbolPalettePicture());
    addPaletteCells(panel, target, symbolCellDefinitions());
}
