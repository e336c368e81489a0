#include "widgets/TextBox.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <limits>

TextBox::TextBox(QWidget* parent)
    : SymbolLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

void TextBox::setSelText(const QString& text)
{
    insert(text);
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    // QLineEdit selects all of its text when Tab brings the focus in; then the
    // next palette click would replace the whole text instead of inserting at
    // the caret the user left.
    const int cursor = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    SymbolLineEdit::focusInEvent(event);
    restoreSelection(cursor, start, length);
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    // QLineEdit drops its selection when it loses the focus; put it back.
    const int cursor = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    SymbolLineEdit::focusOutEvent(event);
    restoreSelection(cursor, start, length);
}

void TextBox::restoreSelection(int cursor, int start, int length)
{
    if (length > 0) {
        if (cursor == start)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    } else {
        setCursorPosition(cursor);
    }
}
