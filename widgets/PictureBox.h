#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// A panel that shows a picture once at its top-left corner at natural size;
// the rest of it shows the window's own background. Children (palette cells)
// are placed over the picture.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    using PictureSource = std::function<QImage()>;

    explicit PictureBox(QWidget* parent = nullptr);

    // The panels start hidden and a player may never open one, so the picture
    // is drawn when it is first needed, normally its first paint, and kept.
    void setPicture(PictureSource source);
    const QImage& picture() const;

    // Lays children over the picture. For the same reason they are made when
    // the panel is first shown: before it is painted or can take a click.
    using ChildrenSource = std::function<void(PictureBox& panel)>;
    void setChildren(ChildrenSource source);

    // A part of the picture that a frame goes round while the panel has the
    // focus, to show what the keyboard works on.
    void setFocusFrame(QRect around);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void makeChildren();

    PictureSource m_source;
    ChildrenSource m_children;
    QRect m_focusFrame;
    mutable QImage m_picture;
};
