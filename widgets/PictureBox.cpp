#include "widgets/PictureBox.h"

#include <QPainter>

#include <utility>

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    // Reachable with Tab like the classic picture box, but a click on the
    // panel or its cells leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    // A shown panel hides what lies beneath it, the frame above it included,
    // also where its picture does not reach.
    setAutoFillBackground(true);
}

void PictureBox::setPicture(PictureSource source)
{
    m_source = std::move(source);
    m_picture = QImage();
    update();
}

const QImage& PictureBox::picture() const
{
    if (m_picture.isNull() && m_source)
        m_picture = m_source();
    return m_picture;
}

void PictureBox::setChildren(ChildrenSource source)
{
    m_children = std::move(source);
    if (isVisible())
        makeChildren();
}

void PictureBox::showEvent(QShowEvent*)
{
    makeChildren();
}

void PictureBox::makeChildren()
{
    if (const ChildrenSource source = std::exchange(m_children, {}))
        source(*this);
}

void PictureBox::setFocusFrame(QRect around)
{
    // Enough room for the frame at either place.
    const QMargins ring(1, 1, 1, 1);
    update(m_focusFrame.marginsAdded(ring));
    m_focusFrame = around;
    update(m_focusFrame.marginsAdded(ring));
}

void PictureBox::paintEvent(QPaintEvent*)
{
    const QImage& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    // The picture is drawn pixel for pixel in device-independent pixels, so
    // under high-DPI scaling it grows with the cells laid over it.
    painter.drawImage(QRect(QPoint(0, 0), shown.size() / shown.devicePixelRatio()), shown);
    if (hasFocus() && !m_focusFrame.isNull()) {
        // A white line on the part's edge between two black ones, which
        // shows on any colour and at the picture's edge, where the outer
        // line falls off.
        painter.setPen(Qt::black);
        painter.drawRect(m_focusFrame.adjusted(-1, -1, 0, 0));
        painter.drawRect(m_focusFrame.adjusted(1, 1, -2, -2));
        painter.setPen(Qt::white);
        painter.drawRect(m_focusFrame.adjusted(0, 0, -1, -1));
    }
}
