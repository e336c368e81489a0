#include "preview/EntryTextCheck.h"

#include <QLocale>

namespace {

// The save writes Windows-1252, one byte for each character: a character the
// code page lacks becomes one "?", and a character of two UTF-16 halves is
// still one character. Counted without encoding, since the text may be huge
// and this runs each time its tooltip shows.
qsizetype savedBytes(QStringView text)
{
    qsizetype bytes = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            --bytes;
            ++i;
        }
    }
    return bytes;
}

} // namespace

QString EntryTextCheck::lengthText() const
{
    // Grouped digits, so that a pasted million reads as one at a glance.
    const QLocale english(QLocale::English);
    if (kind == EntryKind::Name)
        return QStringLiteral("Name: %1 of %2 bytes").arg(english.toString(length)).arg(limit);
    return QStringLiteral("Chat message: %1 of %2 characters").arg(english.toString(length)).arg(limit);
}

QString EntryTextCheck::warningText(EntryWarning warning) const
{
    switch (warning) {
    case EntryWarning::TooLong:
        if (kind == EntryKind::Name)
            return QStringLiteral("Too long: the game takes a name of at most %1 bytes.").arg(limit);
        return QStringLiteral("Too long: the game takes a chat message of at most %1 characters.").arg(limit);
    case EntryWarning::DoubleQuote:
        return QStringLiteral("Holds a double quote: the game cannot read the line.");
    case EntryWarning::Semicolon:
        return QStringLiteral("Holds a semicolon: the game refuses such a name.");
    case EntryWarning::Backslash:
        return QStringLiteral("Holds a backslash: the game refuses such a name.");
    }
    return {};
}

EntryTextCheck checkEntryText(QStringView text, EntryKind kind)
{
    EntryTextCheck check;
    check.kind = kind;
    check.length = savedBytes(text);
    check.limit = kind == EntryKind::Name ? NameLimitBytes : ChatMessageLimitCharacters;

    if (check.length > check.limit)
        check.warnings.push_back(EntryWarning::TooLong);
    if (text.contains(u'"'))
        check.warnings.push_back(EntryWarning::DoubleQuote);
    if (kind == EntryKind::Name) {
        if (text.contains(u';'))
            check.warnings.push_back(EntryWarning::Semicolon);
        if (text.contains(u'\\'))
            check.warnings.push_back(EntryWarning::Backslash);
    }
    return check;
}
