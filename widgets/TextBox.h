#pragma once

#include "widgets/SymbolLineEdit.h"

// A one-line text box that behaves like the classic one: no length limit, and
// its caret and selection stay put while another control has the focus, so
// text can be inserted at them from elsewhere (the palettes). Its context menu
// offers the box's own actions after the usual editing ones.
class TextBox : public SymbolLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    // Replaces the selection with text, or inserts it at the caret; afterwards
    // the caret stands after it and nothing is selected. Needs no focus and
    // works while the box is hidden.
    void setSelText(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void restoreSelection(int cursor, int start, int length);
};
