#pragma once

class PictureBox;
class TextBox;

// Puts the colour picture into its panel and lays the 90 colour cells over
// it; each click inserts its code at the caret of the entry text.
void installColourPalette(PictureBox& panel, TextBox& entryText);
