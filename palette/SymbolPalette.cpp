#include "palette/SymbolPalette.h"

#include "palette/PaletteCells.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"
#include "platform/PictureBox.h"

void installSymbolPalette(PictureBox& panel, TextBox& entryText)
{
    panel.setPicture(&symbolPalettePicture);
    panel.setChildren([&entryText](PictureBox& shown) { addPaletteCells(shown, entryText, symbolCellDefinitions()); });
}
