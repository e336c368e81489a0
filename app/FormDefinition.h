#pragma once

#include "platform/Twips.h"

#include <QRect>
#include <QString>

#include <span>

// The static definition of the main window: every control outside the two
// palettes, with its place in twips.

inline constexpr int FormClientWidthTwips = 9075;
inline constexpr int FormClientHeightTwips = 7020;

enum class ControlKind {
    Label,
    OptionButton,
    TextBox,
    ComboBox,
    CommandButton,
    DriveList,
    FolderList,
    FileList,
    PictureBox,
    Line,
};

enum class ControlFont {
    Interface, // the application's user-interface font
    Arial825,  // Arial 8.25 pt
    Arial675,  // Arial 6.75 pt
};

struct ControlDefinition
{
    const char* name;
    ControlKind kind;
    // Left, Top, Width, Height in twips; a line gives X1, Y1, X2, Y2 instead.
    int a, b, c, d;
    const char* caption;
    int tabIndex; // -1 for the lines, which never take the focus
    bool shownAtStart = true;
    bool bordered = false;
    bool transparent = false;
    ControlFont font = ControlFont::Interface;

    QString text() const { return QString::fromLatin1(caption); }
    QString objectName() const { return QString::fromLatin1(name); }
    // The rectangle in device-independent pixels; a line becomes a rectangle
    // one pixel thick that spans both of its end points.
    QRect pixelRect() const;
};

std::span<const ControlDefinition> formControls();

// The definition of one control by name; nullptr when there is none.
const ControlDefinition* findControl(QStringView name);

QString defaultConfigPath();
