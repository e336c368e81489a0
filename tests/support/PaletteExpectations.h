#pragma once

#include "widgets/PaletteCell.h"

#include <QList>
#include <QWidget>

#include <algorithm>

// What clicking every cell of a palette, row by row and left to right, puts
// into the entry text; written out apart from the palettes' own tables.
inline QString everyColourCodeInOrder()
{
    QString codes;
    for (QChar c : QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz"
                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~"))
        codes += QLatin1Char('^') + c;
    return codes;
}

inline QString everySymbolInOrder()
{
    return QString::fromUtf16(u"\x1C\x16\x1B\x0E" u"\x11\x17\x07\x0F" u"\x1D\x02\x05" u"\x12\x18\x10"
                              u"\x1E\x19\x06" u"\x13\x03\x01" u"\x1F\x08\x04" u"\x14\x0E\x0B" u"\x15\x09\x0C");
}

// The cells of a panel as a player reads them, whatever order they were made in.
inline QList<PaletteCell*> cellsInReadingOrder(const QWidget& panel)
{
    QList<PaletteCell*> cells = panel.findChildren<PaletteCell*>();
    std::sort(cells.begin(), cells.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return cells;
}
