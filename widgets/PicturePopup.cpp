#include "widgets/PicturePopup.h"

#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int Margin = 4;
// Between the picture and the notes, and between the popup and the field.
constexpr int Gap = 2;

} // namespace

PicturePopup::PicturePopup(QWidget& field)
    : QWidget(&field, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
    , m_field(field)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
}

void PicturePopup::showBesideField(const QImage& picture, const QStringList& notes)
{
    m_picture = picture;
    m_notes = notes;
    const QFontMetrics metrics(font());
    int width = picture.width();
    for (const QString& note : notes)
        width = std::max(width, metrics.horizontalAdvance(note));
    resize(width + 2 * Margin, 2 * Margin + picture.height() + Gap + int(notes.size()) * metrics.lineSpacing());
    followField();
    update();
    show();
}

void PicturePopup::followField()
{
    const QRect field(m_field.mapToGlobal(QPoint(0, 0)), m_field.size());
    const QRect screen = m_field.screen()->availableGeometry();
    const int left = std::clamp(field.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - width()));
    // Above the field when there is no room below it.
    const int below = field.bottom() + 1 + Gap;
    const int top = below + height() <= screen.bottom() + 1 ? below : field.top() - Gap - height();
    move(left, top);
}

void PicturePopup::mousePressEvent(QMouseEvent*)
{
    // It lies over other controls: like a tooltip, it goes at a click.
    hide();
}

void PicturePopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelTipLabel, &frame, &painter, this);
    painter.drawImage(Margin, Margin, m_picture);
    painter.setPen(palette().color(QPalette::ToolTipText));
    const QFontMetrics metrics(font());
    int baseline = Margin + m_picture.height() + Gap + metrics.ascent();
    for (const QString& note : std::as_const(m_notes)) {
        painter.drawText(Margin, baseline, note);
        baseline += metrics.lineSpacing();
    }
}
