#include "widgets/PaletteCells.h"

#include "widgets/PaletteCell.h"
#include "widgets/PaletteKeyboard.h"
#include "widgets/PictureBox.h"

QList<PaletteCell*> addPaletteCells(PictureBox& panel, TextBox& target, std::span<const PaletteCellDefinition> cells)
{
    QList<PaletteCell*> created;
    created.reserve(static_cast<qsizetype>(cells.size()));
    for (const PaletteCellDefinition& definition : cells) {
        auto* cell = new PaletteCell(definition, &target, &panel);
        cell->show();
        created.append(cell);
    }
    new PaletteKeyboard(panel, created);
    return created;
}
