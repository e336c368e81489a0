#include "palette/SymbolPalettePicture.h"

#include "palette/SymbolCells.h"

QRect symbolPictureCell(int row, int column)
{
    const int left = SymbolPictureColumnLines.at(static_cast<size_t>(column)) + 1;
    const int right = column + 1 < static_cast<int>(SymbolPictureColumnLines.size())
        ? SymbolPictureColumnLines.at(static_cast<size_t>(column) + 1) - 1
        : SymbolPictureWidth - 1;
    const int top = SymbolPictureRowLines.at(static_cast<size_t>(row)) + 1;
    const int bottom = SymbolPictureRowLines.at(static_cast<size_t>(row) + 1) - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage symbolPalettePicture()
{
    QImage picture(SymbolPictureWidth, SymbolPictureHeight, QImage::Format_RGB32);
    picture.fill(SymbolPictureBackground);

    const int tableRight = SymbolPictureColumnLines.back();
    const int tableBottom = SymbolPictureRowLines.back();
    const int fourthColumnBottom = SymbolPictureRowLines.at(SymbolPictureFourthColumnRows);
    for (int x : SymbolPictureColumnLines) {
        for (int y = 0; y <= tableBottom; ++y)
            picture.setPixel(x, y, SymbolPictureLine);
    }
    for (int y : SymbolPictureRowLines) {
        // Beside the lower rows the fourth column is empty background.
        const int right = y <= fourthColumnBottom ? SymbolPictureWidth - 1 : tableRight;
        for (int x = 0; x <= right; ++x)
            picture.setPixel(x, y, SymbolPictureLine);
    }

    for (const SymbolCell& cell : symbolCells())
        cell.drawing().drawCentred(picture, symbolPictureCell(cell.row, cell.column), cell.ink);
    return picture;
}
