#include "preview/GameTextRuns.h"

#include "palette/ColourCells.h"

namespace {

bool isSymbolCharacter(QChar character)
{
    return character.unicode() >= 0x01 && character.unicode() <= 0x1F;
}

} // namespace

std::vector<GameTextRun> gameTextRuns(QStringView text, qsizetype drawnLimit)
{
    std::vector<GameTextRun> runs;
    QColor colour = QColor::fromRgb(GameTextStartColour);
    qsizetype drawn = 0;

    const auto appendText = [&](QChar character) {
        if (runs.empty() || runs.back().kind != GameTextRun::Kind::Text || runs.back().colour != colour)
            runs.push_back({GameTextRun::Kind::Text, colour, {}});
        runs.back().text += character;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        if (drawn == drawnLimit) {
            runs.push_back({GameTextRun::Kind::Cut, colour, {}});
            break;
        }
        const QChar character = text[i];
        if (character == u'^' && i + 1 < text.size()) {
            // "^^" reaches here too: the second caret has no colour of its
            // own, so the first is drawn and the second is read afresh.
            if (const std::optional<QColor> code = colourOfCode(text[i + 1])) {
                colour = *code;
                ++i;
                continue;
            }
        }
        if (isSymbolCharacter(character)) {
            runs.push_back({GameTextRun::Kind::Symbol, colour, QString(character)});
        } else {
            appendText(character);
            // A character of two halves counts once and is never cut apart.
            if (character.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                appendText(text[++i]);
        }
        ++drawn;
    }
    return runs;
}

bool holdsCodeOrSymbol(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isSymbolCharacter(text[i]) || (text[i] == u'^' && i + 1 < text.size() && colourOfCode(text[i + 1])))
            return true;
    }
    return false;
}
