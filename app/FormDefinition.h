#pragma once

#include "platform/Twips.h"

#include <QRect>
#include <QString>

#include <array>
#include <span>
#include <string_view>

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

// The table itself is in the header so that other tables naming its
// controls are checked against it when they are compiled.
namespace FormTable {

using K = ControlKind;
inline constexpr bool hidden = false;
inline constexpr bool shown = true;
inline constexpr bool border = true;
inline constexpr bool transparent = true;

inline constexpr const char* DefaultPath = "C:\\Program Files\\Soldier of Fortune II - Double Helix\\base\\mp\\sof2mp.cfg";

// name, kind, left, top, width, height (lines: x1, y1, x2, y2), caption,
// tab index, shown at start, border, transparent, font
inline constexpr std::array controls = {
    // Mode choice, top left
    ControlDefinition{"Label98", K::Label, 120, 120, 975, 735, "", 66, shown, border, transparent},
    ControlDefinition{"Option2", K::OptionButton, 240, 240, 255, 255, "Option2", 61},
    ControlDefinition{"Label95", K::Label, 480, 240, 375, 255, "Bind", 62},
    ControlDefinition{"Option1", K::OptionButton, 240, 480, 255, 255, "Option1", 60},
    ControlDefinition{"Label96", K::Label, 480, 480, 495, 255, "Name", 63},
    // Mode hints
    ControlDefinition{"Label130", K::Label, 2400, 240, 2055, 255, "Press \"bind\" to make a bind.", 144},
    ControlDefinition{"Label131", K::Label, 2280, 480, 2295, 255, "Press \"name\" to make a name.", 145},
    // Entry fields
    ControlDefinition{"Label97", K::Label, 1200, 120, 615, 255, "Key:", 65, hidden},
    ControlDefinition{"Combo1", K::ComboBox, 1560, 120, 1215, 315, "", 0, hidden},
    ControlDefinition{"Label94", K::Label, 2880, 120, 1815, 255, "Command:", 57, hidden},
    ControlDefinition{"Combo2", K::ComboBox, 3720, 120, 2535, 315, "Say", 58, hidden},
    ControlDefinition{"Label2", K::Label, 1200, 600, 855, 255, "Name:", 64, hidden},
    ControlDefinition{"Label1", K::Label, 1320, 600, 495, 255, "Bind:", 3, hidden},
    ControlDefinition{"Text1", K::TextBox, 1680, 600, 3735, 285, "", 1, hidden},
    ControlDefinition{"Command1", K::CommandButton, 5520, 600, 735, 255, "Save", 2, hidden},
    // Rules
    ControlDefinition{"Line2", K::Line, 0, 960, 6360, 960, "", -1},
    ControlDefinition{"Line1", K::Line, 6360, 0, 6360, 7080, "", -1},
    // Configuration file chooser
    ControlDefinition{"Text3", K::TextBox, 120, 1080, 6135, 315, DefaultPath, 4},
    ControlDefinition{"Label3", K::Label, 120, 1440, 2535, 255, "Choose the directory of sof2mp.cfg", 8},
    ControlDefinition{"Drive1", K::DriveList, 120, 1680, 3135, 315, "", 6},
    ControlDefinition{"Dir1", K::FolderList, 120, 2040, 3135, 4815, "", 7},
    ControlDefinition{"File1", K::FileList, 3360, 1440, 2895, 5550, "", 5},
    // Bottom edge
    ControlDefinition{"Label99", K::Label, 120, 6840, 1935, 255, "Veltrane 1.0 for SoF2 players", 67, shown, false, false, ControlFont::Arial675},
    ControlDefinition{"Command4", K::CommandButton, 2040, 6840, 735, 195, "Help?", 59, shown, false, false, ControlFont::Arial825},
    // Palette column
    ControlDefinition{"Label100", K::Label, 6480, 0, 2535, 495, "", 143, shown, border, transparent},
    ControlDefinition{"Option3", K::OptionButton, 6720, 120, 735, 255, "Colors", 141},
    ControlDefinition{"Option4", K::OptionButton, 7920, 120, 975, 255, "Symbols", 142},
    ControlDefinition{"Label132", K::Label, 6600, 960, 2055, 735, "To make colors press on \"Colors\" and click on them.", 147, shown, false, transparent},
    ControlDefinition{"Label133", K::Label, 6600, 1680, 2175, 735, "To make symbols press on \"Symbols\" and click on them.", 146, shown, false, transparent},
    ControlDefinition{"Picture1", K::PictureBox, 6480, 480, 2535, 6855, "", 9, hidden},
    ControlDefinition{"Picture3", K::PictureBox, 6480, 480, 2535, 3255, "", 68, hidden},
};

} // namespace FormTable

std::span<const ControlDefinition> formControls();

// Usable in a static_assert, so that a misspelt name fails the build.
constexpr bool isFormControl(std::string_view name)
{
    for (const ControlDefinition& control : FormTable::controls) {
        if (name == control.name)
            return true;
    }
    return false;
}

// The definition of one control by name; nullptr when there is none.
const ControlDefinition* findControl(QStringView name);

QString defaultConfigPath();
