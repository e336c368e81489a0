#pragma once

#include "preview/EntryTextCheck.h"

#include <QObject>
#include <QPoint>
#include <QString>

class QLineEdit;
class QWidget;

// The tooltip of the entry text: the text drawn as the game will show it, its
// length against the game's limit and what would spoil the line. It is made
// when asked for and follows the text while it is shown; it never changes the
// text or blocks anything.
class EntryTextPreview : public QObject
{
    Q_OBJECT

public:
    // The window is in Bind mode exactly while keyField is not hidden; then
    // the text is a chat message, otherwise a name.
    EntryTextPreview(QLineEdit& entryText, const QWidget& keyField);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QPoint globalPosition);

    QLineEdit& m_entryText;
    const QWidget& m_keyField;
    QPoint m_shownAt;
    QString m_shownText;
};

void installEntryTextPreview(QLineEdit& entryText, const QWidget& keyField);

// The picture shows this many characters at most, twice what the game takes
// in a chat message, and fits on a small screen even if all are wide symbols.
inline constexpr qsizetype EntryTextPreviewCharacters = 300;

// The tooltip's rich text. Its cost does not grow with the picture beyond
// the characters shown, so the tip of a pasted million comes at once.
QString entryTextToolTip(QStringView text, EntryKind kind);
