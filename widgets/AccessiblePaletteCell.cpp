#include "widgets/AccessiblePaletteCell.h"

#include "widgets/PaletteCell.h"

AccessiblePaletteCell::AccessiblePaletteCell(PaletteCell* cell)
    : QAccessibleWidget(cell, QAccessible::Button)
{
}

PaletteCell* AccessiblePaletteCell::cell() const
{
    return static_cast<PaletteCell*>(widget());
}

QAccessible::State AccessiblePaletteCell::state() const
{
    // The panel keeps the real focus; the marked cell has it as far as
    // anyone listening is concerned, as the current item of a list does.
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = true;
    state.focused = cell()->isKeyboardFocus();
    return state;
}

QStringList AccessiblePaletteCell::actionNames() const
{
    return {pressAction()};
}

void AccessiblePaletteCell::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        cell()->press();
}

QAccessibleInterface* accessiblePaletteCell(const QString& className, QObject* object)
{
    if (className == QLatin1String("PaletteCell") && object && object->isWidgetType())
        return new AccessiblePaletteCell(static_cast<PaletteCell*>(object));
    return nullptr;
}
