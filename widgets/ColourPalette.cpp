#include "widgets/ColourPalette.h"

#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "widgets/PaletteCells.h"
#include "widgets/PictureBox.h"

void installColourPalette(PictureBox& panel, TextBox& entryText)
{
    panel.setPicture(&colourPalettePicture);
    panel.setChildren([&entryText](PictureBox& shown) { addPaletteCells(shown, entryText, colourCellDefinitions()); });
}
