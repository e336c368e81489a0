#pragma once

#include <QRect>
#include <QString>

// One click cell of a palette panel, as its table gives it.
struct PaletteCellDefinition
{
    // What a click on the cell puts into the entry text.
    enum class Inserts {
        Insertion, // the constant `insertion`
        Caption,   // the cell's own caption, read at the time of the click
    };

    QString name;         // the designer name, used as objectName
    QRect twips;          // Left, Top, Width, Height within the panel
    QRect pictured;       // the cell in the picture, its border included, in pixels: the keyboard's mark
    QString insertion;    // used when `inserts` is Insertion
    QString caption;      // never drawn: the picture carries the look
    QString toolTip;      // the code itself, for people who hover
    QString accessibleName;
    Inserts inserts = Inserts::Insertion;
};
