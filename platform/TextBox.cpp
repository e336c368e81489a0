#include "platform/TextBox.h"

#include <limits>

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

void TextBox::setSelText(const QString& text)
{
    insert(text);
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    // QLineEdit drops its selection when it loses the focus; put it back.
    const int cursor = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    QLineEdit::focusOutEvent(event);
    if (length > 0) {
        if (cursor == start)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    } else {
        setCursorPosition(cursor);
    }
}
