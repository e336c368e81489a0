#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <vector>

// The entry text cut into the pieces the game draws: stretches of text in one
// colour, and symbol characters, which the game's font shows as pictures.
struct GameTextRun
{
    enum class Kind {
        Text,
        Symbol, // text holds exactly one control character
    };

    Kind kind = Kind::Text;
    QColor colour;
    QString text;

    bool operator==(const GameTextRun&) const = default;
};

// The game starts every line of chat and every name in white; "^7" is the
// same white, so a text that begins with it looks no different.
inline constexpr QRgb GameTextStartColour = 0xFFFFFFFF;

// Reads text as the game does, one character at a time: a caret followed by a
// character that has a colour code switches the colour and is not drawn; any
// other caret, a doubled one or one at the very end, is drawn as it is.
// Characters U+0001 to U+001F become symbol runs of their own.
std::vector<GameTextRun> gameTextRuns(QStringView text);
