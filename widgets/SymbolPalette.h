#pragma once

class PictureBox;
class TextBox;

// Gives the symbol panel its picture and has the 29 symbol cells laid over
// it when it is first shown; each click inserts its character at the caret
// of the entry text.
void installSymbolPalette(PictureBox& panel, TextBox& entryText);
