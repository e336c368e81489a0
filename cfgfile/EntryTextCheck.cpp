#include "cfgfile/EntryTextCheck.h"

#include "cfgfile/ConfigRewrite.h"

QString EntryTextCheck::lengthText() const
{
    if (kind == EntryKind::Name)
        return QStringLiteral("Name: %1 of %2 bytes").arg(length).arg(limit);
    return QStringLiteral("Chat message: %1 of %2 characters").arg(length).arg(limit);
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
    // Counted as the save writes it: Windows-1252, one byte a character.
    check.length = ConfigRewrite::encodeLine(text.toString()).size();
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
