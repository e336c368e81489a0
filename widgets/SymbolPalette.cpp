#include "widgets/SymbolPalette.h"

#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"
#include "widgets/PaletteCells.h"
#include "widgets/PictureBox.h"

void installSymbolPalette(PictureBox& panel, TextBox& entryText)
{
    panel.setPicture(&symbolPalettePicture);
    panel.setChildren([&entryText](PictureBox& shown) { addPaletteCells(shown, entryText, symbolCellDefinitions()); });
}
