#pragma once

#include "preview/GameTextRuns.h"

#include <QImage>
#include <QRgb>

#include <span>

// The entry text drawn as the game will show it, for the player to see before
// saving: coloured text and symbol pictures on a dark console background.

inline constexpr QRgb GameTextBackground = 0xFF14171A;
// The ellipsis after a text cut short is no colour of the game's, so that it
// does not pass for part of the text.
inline constexpr QRgb GameTextCutMark = 0xFF9A9EA3;
// Long texts wrap at this width, so that a chat message of the game's full
// length still fits on a small screen.
inline constexpr int GameTextPictureMaxWidth = 480;

// Text is drawn unsmoothed, so every drawn pixel has exactly its run's colour,
// like the game's bitmap font. Symbols are drawn by the symbol palette's own
// drawing, in the ink they have there.
QImage gameTextPicture(std::span<const GameTextRun> runs);
