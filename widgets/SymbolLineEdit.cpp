#include "widgets/SymbolLineEdit.h"

#include "palette/SymbolCells.h"
#include "widgets/SingleLineValidator.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>

#include <algorithm>
#include <optional>

namespace {

// Characters either side of the caret whose symbols are shown as pictures;
// far more than the widest field shows.
constexpr int SymbolReach = 2000;
// Beside each picture, so that neighbours do not touch.
constexpr int PictureMargin = 1;
constexpr int SymbolGroundAlpha = 28;
// QLineEdit's cursorRect() starts this far left of where it draws the caret.
constexpr int CaretRectInset = 5;
// Each blink of the caret repaints the field, and QLineEdit measures its
// whole text on every paint: blinking costs a third of a core in a field of
// a million pasted characters, and a third of a percent at this length,
// beyond which the caret stays lit.
constexpr int BlinkingCaretLength = 10'000;

bool isSymbol(QChar character)
{
    return character.unicode() >= 0x01 && character.unicode() <= 0x1F;
}

// QLineEdit shows these as spaces; a tab keeps its own width, to the next tab stop.
bool shownAsSpace(QChar character)
{
    return (character.unicode() < 0x20 && character != u'\t') || character == QChar::LineSeparator
           || character == QChar::ParagraphSeparator;
}

QImage tinted(const QImage& mask, const QColor& colour)
{
    QImage image(mask.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, mask);
    return image;
}

} // namespace

SymbolLineEdit::SymbolLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new SingleLineValidator(this));
    connect(this, &QLineEdit::textChanged, this, &SymbolLineEdit::makeRoomForSymbols);
    connect(this, &QLineEdit::textChanged, this, &SymbolLineEdit::holdCaretStillIfLong);
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int caret) {
        // Far enough from where the room was made, the caret may bring unwidened symbols into view.
        if ((caret < m_widenedFrom + SymbolReach / 2 && m_widenedFrom > 0)
            || (caret > m_widenedTo - SymbolReach / 2 && m_widenedTo < text().size()))
            makeRoomForSymbols();
    });
}

SymbolLineEdit::~SymbolLineEdit()
{
    if (m_caretHeldStill)
        QGuiApplication::styleHints()->setCursorFlashTime(-1);
}

void SymbolLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    holdCaretStillIfLong();
}

void SymbolLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    holdCaretStillIfLong();
}

void SymbolLineEdit::holdCaretStillIfLong()
{
    // Only the field with the focus blinks, so the flash time of the whole
    // program is this field's while it has the focus; -1 gives the
    // platform's back.
    const bool still = hasFocus() && text().size() > BlinkingCaretLength;
    if (still == m_caretHeldStill)
        return;
    m_caretHeldStill = still;
    QGuiApplication::styleHints()->setCursorFlashTime(still ? 0 : -1);
}

void SymbolLineEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        forgetPictures();
}

void SymbolLineEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    forgetPictures();
}

void SymbolLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    QLineEdit::inputMethodEvent(event);
    // The input method's formats have taken the place of ours.
    m_fieldHasWidths = false;
    const bool wasComposing = m_composing;
    m_composing = !event->preeditString().isEmpty();
    if (wasComposing && !m_composing)
        makeRoomForSymbols();
}

void SymbolLineEdit::forgetPictures()
{
    // Pictures shrink to the height of the text area and stand-ins follow the font.
    m_pictures.clear();
    makeRoomForSymbols();
}

void SymbolLineEdit::makeRoomForSymbols()
{
    m_layoutStale = true;
    if (m_composing)
        return;

    const QString content = text();
    // Measured at the first symbol: a field without any needs no glyph loaded yet.
    std::optional<qreal> spaceWidth;
    // The field shows only a few dozen characters around the caret, and
    // every format range slows QLineEdit's own layout, so a huge pasted text
    // gets its symbols widened only near the caret.
    // The stretch moves in steps, so that typing does not move it each time.
    const int step = SymbolReach / 2;
    const int anchor = cursorPosition() / step * step;
    m_widenedFrom = std::max(0, anchor - SymbolReach);
    m_widenedTo = std::min(int(content.size()), anchor + step + SymbolReach);
    m_symbolPositions.clear();
    QList<QTextLayout::FormatRange> widths;
    for (int i = m_widenedFrom; i < m_widenedTo; ++i) {
        if (!isSymbol(content[i]))
            continue;
        m_symbolPositions.push_back(i);
        // No spacing widens a tab: it reaches to the next tab stop.
        if (content[i] == u'\t')
            continue;
        // Spacing widens the space that QLineEdit shows in the symbol's place.
        if (!spaceWidth)
            spaceWidth = QFontMetricsF(font()).horizontalAdvance(u' ');
        const qreal spacing = pictureOf(content[i].unicode()).width() + 2 * PictureMargin - *spaceWidth;
        if (!widths.isEmpty()) {
            QTextLayout::FormatRange& last = widths.last();
            if (last.start + last.length == i && last.format.fontLetterSpacing() == spacing) {
                ++last.length;
                continue;
            }
        }
        QTextLayout::FormatRange range;
        range.start = i;
        range.length = 1;
        range.format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        range.format.setFontLetterSpacing(spacing);
        widths.append(range);
    }

    // Typing after the last symbol moves none: then the field is spared
    // laying out its whole text once more.
    if (m_fieldHasWidths && widths == m_symbolWidths)
        return;
    m_symbolWidths = widths;
    // QLineEdit takes formats for its text only from an input method. This
    // event commits nothing and moves neither the caret nor the selection;
    // its positions count from the caret.
    QList<QInputMethodEvent::Attribute> attributes;
    for (const QTextLayout::FormatRange& range : std::as_const(m_symbolWidths)) {
        attributes.append({QInputMethodEvent::TextFormat, range.start - cursorPosition(), range.length,
                           QVariant(range.format)});
    }
    QInputMethodEvent formats(QString(), attributes);
    QLineEdit::inputMethodEvent(&formats);
    m_fieldHasWidths = true;
}

const QImage& SymbolLineEdit::pictureOf(char16_t character)
{
    auto found = m_pictures.find(character);
    if (found == m_pictures.end())
        found = m_pictures.insert(character, drawnPicture(character));
    return *found;
}

QImage SymbolLineEdit::drawnPicture(char16_t character) const
{
    const QFontMetrics metrics(font());
    const SymbolCell* cell = findSymbolCell(character);
    // Something is there that the game draws as nothing known: an empty box.
    QImage picture = cell ? cell->picture()
                          : emptySymbolBox(QSize(std::max(5, metrics.averageCharWidth()), std::max(7, metrics.ascent() - 1)),
                                           SymbolWhite);
    // As tall as the text at most, as the game's font draws them.
    const int room = std::min(metrics.height(), textArea().height());
    if (room > 0 && picture.height() > room)
        picture = picture.scaledToHeight(room, Qt::SmoothTransformation);
    return picture;
}

QRect SymbolLineEdit::textArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
}

QTextLine SymbolLineEdit::shownLine()
{
    if (m_layoutStale) {
        // Only the stretch with widened symbols: what is seen lies within it.
        // In a text longer than that stretch, a tab in it may be placed a
        // little off, since tab stops count from the start of the text.
        QString shown = text().mid(m_widenedFrom, m_widenedTo - m_widenedFrom);
        for (QChar& character : shown) {
            if (shownAsSpace(character))
                character = u' ';
        }
        QList<QTextLayout::FormatRange> widths = m_symbolWidths;
        for (QTextLayout::FormatRange& range : widths)
            range.start -= m_widenedFrom;
        m_layout.setText(shown);
        m_layout.setFont(font());
        QTextOption option;
        option.setTextDirection(layoutDirection());
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        m_layout.setTextOption(option);
        m_layout.setFormats(widths);
        m_layout.beginLayout();
        m_layout.createLine();
        m_layout.endLayout();
        m_layoutStale = false;
    }
    return m_layout.lineAt(0);
}

void SymbolLineEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (m_symbolPositions.empty() || m_composing)
        return;

    const QTextLine line = shownLine();
    // QLineEdit keeps its caret in view, so the caret tells where the text stands.
    const QRect caret = cursorRect();
    const qreal origin = caret.x() + CaretRectInset - qRound(line.cursorToX(cursorPosition() - m_widenedFrom));
    const QRect area = textArea();
    const int middle = area.center().y();
    int first = cursorPositionAt(QPoint(area.left(), middle));
    int last = cursorPositionAt(QPoint(area.right(), middle));
    if (first > last)
        std::swap(first, last);

    const QString content = text();
    QPainter painter(this);
    painter.setClipRect(area);
    const int selectionEnd = selectionStart() + selectionLength();
    const auto begin = std::lower_bound(m_symbolPositions.begin(), m_symbolPositions.end(), first - 1);
    const auto end = std::upper_bound(begin, m_symbolPositions.end(), last);
    for (auto position = begin; position != end; ++position) {
        qreal left = origin + line.cursorToX(*position - m_widenedFrom);
        qreal right = origin + line.cursorToX(*position + 1 - m_widenedFrom);
        if (right < left)
            std::swap(left, right);
        const QImage& picture = pictureOf(content[*position].unicode());
        // A tab just short of its tab stop is narrower than its picture.
        const int width = std::min(picture.width(), std::max(1, int(right - left)));
        const QRect target(qRound((left + right - width) / 2), area.top() + (area.height() - picture.height()) / 2,
                           width, picture.height());
        const bool selected = hasSelectedText() && *position >= selectionStart() && *position < selectionEnd;
        if (!selected) {
            // A faint ground tells a symbol that reads like letters, "ESC", from typed letters.
            QColor ground = palette().color(QPalette::Text);
            ground.setAlpha(SymbolGroundAlpha);
            painter.fillRect(QRectF(left, area.top() + 1, right - left, area.height() - 2), ground);
        }
        painter.drawImage(target, tinted(picture, palette().color(selected ? QPalette::HighlightedText : QPalette::Text)));
    }
}
