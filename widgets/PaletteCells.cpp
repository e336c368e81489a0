#include "widgets/PaletteCells.h"

#include "widgets/PaletteCell.h"

QList<PaletteCell*> addPaletteCells(QWidget& panel, TextBox& target, std::span<const PaletteCellDefinition> cells)
{
    QList<PaletteCell*> created;
    created.reserve(static_cast<qsizetype>(cells.size()));
    for (const PaletteCellDefinition& definition : cells) {
        auto* cell = new PaletteCell(definition, &target, &panel);
        cell->show();
        created.append(cell);
    }
    return created;
}
