#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// What the game will make of the entry text once it is saved: its length
// against the game's limit and the characters that spoil the line. Only to
// inform the player; the line is saved exactly as composed either way.

enum class EntryKind {
    Name,        // seta name "<text>"
    ChatMessage, // bind <key> Say "<text>"
};

enum class EntryWarning {
    TooLong,
    DoubleQuote, // ends the quoted text early: the game cannot read the line
    Semicolon,   // names only: the game refuses such a name
    Backslash,   // names only: the game refuses such a name
};

inline constexpr qsizetype NameLimitBytes = 35;
inline constexpr qsizetype ChatMessageLimitCharacters = 150;

struct EntryTextCheck
{
    EntryKind kind = EntryKind::Name;
    qsizetype length = 0; // bytes in the saved file, colour codes included
    qsizetype limit = 0;
    std::vector<EntryWarning> warnings; // in the order of the enumeration

    // "Name: 12 of 35 bytes" or "Chat message: 1,000,000 of 150 characters".
    QString lengthText() const;
    QString warningText(EntryWarning warning) const;
};

EntryTextCheck checkEntryText(QStringView text, EntryKind kind);
