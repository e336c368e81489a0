#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

// A small window that shows a picture with a few lines of notes beneath it,
// beside a field: below it, or above it where the screen ends below, never
// over it. Like a tooltip it takes neither the focus nor the window's
// activation, but it stays until it is hidden.
class PicturePopup : public QWidget
{
    Q_OBJECT

public:
    explicit PicturePopup(QWidget& field);

    // Shows these beside the field, or brings the shown popup up to date.
    void showBesideField(const QImage& picture, const QStringList& notes);
    // After the field's window has moved.
    void followField();

    const QImage& picture() const { return m_picture; }
    const QStringList& notes() const { return m_notes; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QWidget& m_field;
    QImage m_picture;
    QStringList m_notes;
};
