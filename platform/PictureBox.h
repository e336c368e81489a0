#pragma once

#include <QImage>
#include <QWidget>

// A panel that shows a picture once at its top-left corner at natural size;
// the rest of it shows the window's own background. Children (palette cells)
// are placed over the picture.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
