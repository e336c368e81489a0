#pragma once

class PictureBox;
class TextBox;

// Gives the symbol panel its picture and lays the 29 symbol cells over it;
// each click inserts its character at the caret of the entry text.
void installSymbolPalette(PictureBox& panel, TextBox& entryText);
