#include "palette/ColourPalette.h"

#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/PaletteCells.h"
#include "platform/PictureBox.h"

#include <vector>

void installColourPalette(PictureBox& panel, TextBox& entryText)
{
    panel.setPicture(&colourPalettePicture);

    std::vector<PaletteCellDefinition> definitions;
    definitions.reserve(ColourCellCount);
    for (const ColourCell& cell : colourCells()) {
        const QString code = cell.code();
        definitions.push_back({.name = cell.name(),
                               .twips = cell.twips,
                               .insertion = code,
                               .caption = {},
                               .toolTip = code,
                               .accessibleName = QStringLiteral("Colour ") + code});
    }
    addPaletteCells(panel, entryText, definitions);
}
