#include "widgets/ComboBox.h"

#include "widgets/SymbolLineEdit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent)
{
    // Made editable by its own field alone: setEditable() would first build a
    // plain field, thrown away, and the drop-down list long before it opens.
    // Typed text stays as typed: no completion from the list, and Enter
    // never adds it to the list. A field that comes without a completer is
    // given one built over the whole list; an empty one costs a fraction of
    // that, and the field deletes it as it is taken away.
    auto* field = new SymbolLineEdit(this);
    field->setCompleter(new QCompleter(field));
    setLineEdit(field);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);

    // A choice from the list, or text set from elsewhere, would otherwise
    // leave the caret at the end and the text's start scrolled out of sight.
    connect(lineEdit(), &QLineEdit::textChanged, this, &ComboBox::showStartUnlessFocused);
}

void ComboBox::showPopup()
{
    QAbstractItemView* list = view();
    int width = list->sizeHintForColumn(0) + 2 * list->frameWidth();
    if (count() > maxVisibleItems())
        width += list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(width);
    QComboBox::showPopup();
}

void ComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The list dropping down takes the focus only for a moment; the caret stays.
    if (event->reason() != Qt::PopupFocusReason)
        lineEdit()->setCursorPosition(0);
}

void ComboBox::showStartUnlessFocused()
{
    if (!lineEdit()->hasFocus())
        lineEdit()->setCursorPosition(0);
}
