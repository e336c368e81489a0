#include "platform/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    // Reachable with Tab like the classic picture box, but a click on the
    // panel or its cells leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // The picture is drawn pixel for pixel in device-independent pixels, so
    // under high-DPI scaling it grows with the cells laid over it.
    painter.drawImage(QRect(QPoint(0, 0), m_picture.size() / m_picture.devicePixelRatio()), m_picture);
}
