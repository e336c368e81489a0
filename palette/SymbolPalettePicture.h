#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <array>

// The symbol palette's picture: a table of dark olive cells with one symbol
// in each, drawn pixel for pixel at run time from the cell table.

inline constexpr int SymbolPictureWidth = 165;
inline constexpr int SymbolPictureHeight = 212;
inline constexpr QRgb SymbolPictureBackground = 0xFF54662E;
inline constexpr QRgb SymbolPictureLine = 0xFF141A0C;

// Where the table's lines lie. The rows are about 23.5 pixels high, so the
// click cells, 24 pixels apart, drift up over the pictured rows.
inline constexpr std::array<int, 4> SymbolPictureColumnLines = {0, 41, 82, 123};
inline constexpr std::array<int, 10> SymbolPictureRowLines = {0, 23, 47, 70, 94, 117, 140, 164, 187, 211};
// The fourth column, right of the last vertical line, has cells only in rows 0 and 1.
inline constexpr int SymbolPictureFourthColumnRows = 2;

// The inside of the pictured cell of row and column, lines excluded.
QRect symbolPictureCell(int row, int column);

QImage symbolPalettePicture();
