#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <optional>

// The pictures the game's font shows for its symbol characters, drawn with
// whole pixels so that they look the same at natural size on every machine.
// The symbol palette draws its cells with them, and anything that previews
// an entry text can draw its symbol characters the same way.
enum class SymbolPicture {
    RingedDigit1,
    RingedDigit2,
    RingedDigit3,
    RingedDigit4,
    FramedDigit0,
    FramedDigit1,
    FramedDigit2,
    FramedDigit3,
    FramedDigit4,
    FramedDigit5,
    FramedDigit9,
    Digit6,
    Digit7,
    Digit8,
    Escape,
    Alt,
    NumLock,
    ScrollLock,
    ReturnArrow,
    UprightBars,
    Printer,
    FramedStar,
    UpArrow,
    LeftArrow,
    Padlock,
    FramedDot,
    FramedPlus,
    FramedMinus,
    TabArrows,
};

inline constexpr QRgb SymbolWhite = 0xFFFFFFFF;
inline constexpr QRgb SymbolPaleGreen = 0xFFB8F0A0;

// The colour a picture is drawn in: pale green for the return arrow, the
// printer, the padlock and the framed plus and minus, white for the rest.
QColor symbolInk(SymbolPicture picture);

// The picture of a character, or none for a character the palette does not
// offer. U+000E is offered twice, under the return arrow and under the framed
// dot; it is drawn as the framed dot, one of the framed keypad keys around it.
std::optional<SymbolPicture> symbolPictureOf(char16_t character);

// Sets the picture's pixels, centred in cell, in its own ink; every other
// pixel stays as it was and nothing is drawn outside cell or the image.
void drawSymbol(QImage& image, QRect cell, SymbolPicture picture);

// Draws the character's picture as above; false, with nothing drawn, for a
// character that has none.
bool drawSymbol(QImage& image, QRect cell, char16_t character);

// The smallest rectangle holding every pixel of the image that is not fully
// transparent; empty when there is none.
QRect inkBounds(const QImage& image);
