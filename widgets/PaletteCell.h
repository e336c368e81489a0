#pragma once

#include "palette/PaletteCellDefinition.h"

#include <QPointer>
#include <QWidget>

class TextBox;

// An invisible click cell laid over a palette picture. It draws nothing, never
// takes the focus, and a click on it inserts its string at the caret of the
// entry text. Only a whole click counts: press and release of the left button
// inside the cell. The second click of a double click arrives as a double-click
// event, which a cell does not handle, so a double click inserts once.
class PaletteCell : public QWidget
{
    Q_OBJECT

public:
    PaletteCell(const PaletteCellDefinition& definition, TextBox* target, QWidget* panel);

    QString caption() const { return m_caption; }
    // The string a click inserts now.
    QString insertion() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void click();

    QString m_insertion;
    QString m_caption;
    PaletteCellDefinition::Inserts m_inserts;
    QPointer<TextBox> m_target;
    bool m_pressed = false;
};
