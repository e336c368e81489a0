#include "widgets/PaletteCell.h"

#include "platform/Twips.h"
#include "widgets/AccessiblePaletteCell.h"
#include "widgets/TextBox.h"

#include <QAccessible>
#include <QMouseEvent>

PaletteCell::PaletteCell(const PaletteCellDefinition& definition, TextBox* target, QWidget* panel)
    : QWidget(panel)
    , m_insertion(definition.insertion)
    , m_caption(definition.caption)
    , m_pictured(definition.pictured)
    , m_inserts(definition.inserts)
    , m_target(target)
{
    // Screen readers are offered a cell as a button they can press.
    static const bool accessible = (QAccessible::installFactory(&accessiblePaletteCell), true);
    Q_UNUSED(accessible);

    setObjectName(definition.name);
    setGeometry(twipsToPixels(definition.twips));
    // The entry text keeps its caret only while the focus stays where the user put it.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(definition.toolTip);
    setAccessibleName(definition.accessibleName);
}

QString PaletteCell::insertion() const
{
    return m_inserts == PaletteCellDefinition::Inserts::Caption ? m_caption : m_insertion;
}

bool PaletteCell::isKeyboardFocus() const
{
    return m_marked && parentWidget()->hasFocus();
}

void PaletteCell::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PaletteCell::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        press();
}

void PaletteCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    // QWidget would treat this as another press; the release after it must
    // not count as a second click.
    m_pressed = false;
    event->accept();
}

void PaletteCell::press()
{
    if (m_target)
        m_target->setSelText(insertion());
    emit clicked();
}
