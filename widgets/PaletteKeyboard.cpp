#include "widgets/PaletteKeyboard.h"

#include "widgets/PaletteCell.h"
#include "widgets/PictureBox.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QTimer>

#include <limits>
#include <utility>

PaletteKeyboard::PaletteKeyboard(PictureBox& panel, QList<PaletteCell*> cells)
    : QObject(&panel)
    , m_panel(panel)
    , m_cells(std::move(cells))
{
    if (m_cells.isEmpty())
        return;
    mark(m_cells.first());
    m_panel.installEventFilter(this);
}

bool PaletteKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_panel)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // With Ctrl or Alt held it is some other key, such as a shortcut of the window.
        if (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        return handleKey(key->key(), key->isAutoRepeat());
    }
    case QEvent::FocusIn:
        // After the panel itself is announced, which follows this event.
        QTimer::singleShot(0, this, &PaletteKeyboard::tellScreenReaders);
        return false;
    default:
        return false;
    }
}

bool PaletteKeyboard::handleKey(int key, bool autoRepeat)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (PaletteCell* next = neighbour(key)) {
            mark(next);
            tellScreenReaders();
        }
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Held down, a key inserts once, as a held mouse button does.
        if (!autoRepeat)
            m_marked->press();
        return true;
    default:
        return false;
    }
}

PaletteCell* PaletteKeyboard::neighbour(int arrow) const
{
    // The cells are uneven: the colour panel's middle columns change width
    // from row to row and the symbol panel has a fourth column in two rows
    // only. So the neighbour is found from where the cells lie: left and
    // right within the row, whose cells share the marked cell's middle
    // height; up and down in the nearest row that way, the cell closest
    // across.
    const QRectF from(m_marked->geometry());
    const bool horizontal = arrow == Qt::Key_Left || arrow == Qt::Key_Right;
    const qreal sign = arrow == Qt::Key_Left || arrow == Qt::Key_Up ? -1 : 1;
    PaletteCell* nearest = nullptr;
    auto best = std::pair(std::numeric_limits<qreal>::max(), std::numeric_limits<qreal>::max());
    for (PaletteCell* cell : m_cells) {
        const QPointF offset = QRectF(cell->geometry()).center() - from.center();
        const qreal along = sign * (horizontal ? offset.x() : offset.y());
        const qreal across = qAbs(horizontal ? offset.y() : offset.x());
        const bool sameRow = qAbs(offset.y()) < from.height() / 2;
        if (along <= 0 || sameRow != horizontal)
            continue;
        if (const auto distance = std::pair(along, across); distance < best) {
            best = distance;
            nearest = cell;
        }
    }
    return nearest;
}

void PaletteKeyboard::mark(PaletteCell* cell)
{
    if (m_marked)
        m_marked->setMarked(false);
    m_marked = cell;
    m_marked->setMarked(true);
    m_panel.setFocusFrame(cell->pictured());
}

void PaletteKeyboard::tellScreenReaders() const
{
    if (!m_panel.hasFocus())
        return;
    QAccessibleEvent focus(m_marked, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}
