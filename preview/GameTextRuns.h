#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <limits>
#include <vector>

// The entry text cut into the pieces the game draws: stretches of text in one
// colour, and symbol characters, which the game's font shows as pictures.
struct GameTextRun
{
    enum class Kind {
        Text,
        Symbol, // text holds exactly one control character
        Cut,    // the text goes on beyond what was read; text is empty
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
// Reading stops once drawnLimit characters are drawn, so that a huge text
// costs no more than what a picture of it can show; a Cut run then says that
// more follows.
std::vector<GameTextRun> gameTextRuns(QStringView text,
                                      qsizetype drawnLimit = std::numeric_limits<qsizetype>::max());

// Whether the game draws text otherwise than as it reads: it holds a colour
// code or a symbol character.
bool holdsCodeOrSymbol(QStringView text);
