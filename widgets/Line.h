#pragma once

#include <QWidget>

// A solid rule one pixel wide in the window-text colour. It never takes the
// mouse, so it behaves like a line drawn on the window.
class Line : public QWidget
{
    Q_OBJECT

public:
    explicit Line(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
