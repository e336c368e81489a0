#pragma once

#include "preview/EntryTextCheck.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QLineEdit;

// The tooltip of the entry text: the text drawn as the game will show it, its
// length against the game's limit and what would spoil the line. It is made
// when asked for and follows the text while it is shown; it never changes the
// text or blocks anything.
class EntryTextPreview : public QObject
{
    Q_OBJECT

public:
    // entryKind tells, when the tip is made, whether the text is a chat
    // message or a name: the window's mode can change while the tip is shown.
    EntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QPoint globalPosition);

    QLineEdit& m_entryText;
    std::function<EntryKind()> m_entryKind;
    QPoint m_shownAt;
    QString m_shownText;
};

void installEntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind);

// The picture shows this many characters at most, twice what the game takes
// in a chat message, and fits on a small screen even if all are wide symbols.
inline constexpr qsizetype EntryTextPreviewCharacters = 300;

// The tooltip's rich text. Its cost does not grow with the picture beyond
// the characters shown, so the tip of a pasted million comes at once.
QString entryTextToolTip(QStringView text, EntryKind kind);
