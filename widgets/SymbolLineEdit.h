#pragma once

#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QTextLayout>

#include <vector>

// A one-line field for text that ends up in the game's config. The game's
// font draws the control characters U+0001 to U+001F as small pictures, and
// so does this field, with the symbol palette's pictures: each takes the room of its picture, so the player sees
// it and can put the caret beside it, select it and delete it like any other
// character. Only the drawing differs; text() is exactly what was entered.
// Line breaks never get in: each CR or LF becomes a space. A text far longer
// than anything the game takes costs nothing while the field is left alone:
// its caret stays lit instead of blinking.
class SymbolLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit SymbolLineEdit(QWidget* parent = nullptr);
    ~SymbolLineEdit() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void holdCaretStillIfLong();
    void forgetPictures();
    void makeRoomForSymbols();
    const QImage& pictureOf(char16_t character);
    QImage drawnPicture(char16_t character) const;
    QRect textArea() const;
    QTextLine shownLine();

    // Alpha masks at the size they are shown, tinted when painted.
    QHash<char16_t, QImage> m_pictures;
    // Symbols between these text positions are widened and drawn.
    int m_widenedFrom = 0;
    int m_widenedTo = 0;
    std::vector<int> m_symbolPositions;
    QList<QTextLayout::FormatRange> m_symbolWidths;
    // Whether QLineEdit's own layout holds m_symbolWidths; at first both are empty.
    bool m_fieldHasWidths = true;
    // Laid out like the field's own text, which QLineEdit keeps to itself,
    // to find where each symbol stands.
    QTextLayout m_layout;
    bool m_layoutStale = true;
    // An input method shows its own formats while it composes.
    bool m_composing = false;
    bool m_caretHeldStill = false;
};
