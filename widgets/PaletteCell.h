#pragma once

#include "palette/PaletteCellDefinition.h"

#include <QPointer>
#include <QWidget>

class TextBox;

// An invisible click cell laid over a palette picture. It never takes the
// focus, and a click on it inserts its string at the caret of the entry text.
// Only a whole click counts: press and release of the left button inside the
// cell. The second click of a double click arrives as a double-click event,
// which a cell does not handle, so a double click inserts once. It draws
// nothing: the picture carries the look.
class PaletteCell : public QWidget
{
    Q_OBJECT

public:
    PaletteCell(const PaletteCellDefinition& definition, TextBox* target, QWidget* panel);

    QString caption() const { return m_caption; }
    // The string a click inserts now.
    QString insertion() const;
    // Does what a click does: from the keyboard, or a screen reader.
    void press();

    // Where the picture shows the cell, in the panel's pixels.
    QRect pictured() const { return m_pictured; }
    // The cell the keyboard works on while its panel has the focus.
    void setMarked(bool marked) { m_marked = marked; }
    bool isKeyboardFocus() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_insertion;
    QString m_caption;
    QRect m_pictured;
    PaletteCellDefinition::Inserts m_inserts;
    QPointer<TextBox> m_target;
    bool m_pressed = false;
    bool m_marked = false;
};
