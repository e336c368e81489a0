#pragma once

#include <QPushButton>

// A push button that Enter presses when it has the focus, as Space does, yet
// that is never the window's default: Enter typed in a field presses nothing.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
