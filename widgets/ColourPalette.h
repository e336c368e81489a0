#pragma once

class PictureBox;
class TextBox;

// Puts the colour picture into its panel and has the 90 colour cells laid
// over it when it is first shown; each click inserts its code at the caret
// of the entry text.
void installColourPalette(PictureBox& panel, TextBox& entryText);
