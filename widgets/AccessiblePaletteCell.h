#pragma once

#include <QAccessibleWidget>

class PaletteCell;

// A palette cell as a screen reader meets it: a button named after its code
// and colour or after its picture, that can be pressed, and that has the
// focus while it is the cell the keyboard works on.
class AccessiblePaletteCell : public QAccessibleWidget
{
public:
    explicit AccessiblePaletteCell(PaletteCell* cell);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    PaletteCell* cell() const;
};

// The factory that QAccessible asks for each object's interface.
QAccessibleInterface* accessiblePaletteCell(const QString& className, QObject* object);
