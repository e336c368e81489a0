#pragma once

#include "preview/EntryTextCheck.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;
class PicturePopup;

// The preview of the entry text: the text drawn as the game will show it, its
// length against the game's limit and what would spoil the line. It shows as
// the entry text's tooltip on hover, and beside the entry text while it has
// the focus and the game would show the text otherwise than it reads (it
// holds a colour code or a symbol) or would not take it; Esc puts that away
// until the text changes. Either follows the text while it is shown; neither
// changes the text or blocks anything.
class EntryTextPreview : public QObject
{
    Q_OBJECT

public:
    // entryKind tells, when the preview is made, whether the text is a chat
    // message or a name: the window's mode can change while the tip is shown.
    EntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showToolTip(QPoint globalPosition);
    void followTyping();
    bool besideShown() const;

    QLineEdit& m_entryText;
    std::function<EntryKind()> m_entryKind;
    QPoint m_shownAt;
    QString m_shownText;
    // Made when first needed: most players may never type a code.
    PicturePopup* m_beside = nullptr;
};

void installEntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind);

// The picture shows this many characters at most, twice what the game takes
// in a chat message, and fits on a small screen even if all are wide symbols.
inline constexpr qsizetype EntryTextPreviewCharacters = 300;

// What the preview shows: the picture, then the length and each warning, a
// line each. Its cost does not grow with the picture beyond the characters
// shown, so the preview of a pasted million comes at once.
struct EntryTextPreviewContent
{
    QImage picture;
    QStringList notes;
    // Whether the game shows the text otherwise than it reads, or would not take it.
    bool tellsSomething = false;
};

EntryTextPreviewContent entryTextPreviewContent(QStringView text, EntryKind kind);

// The tooltip's rich text.
QString entryTextToolTip(QStringView text, EntryKind kind);
