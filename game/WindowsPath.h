#pragma once

#include "game/WinePrefix.h"

#include <QString>

#include <optional>

// A path as the player types it. The game lives in a Wine prefix on Linux, so
// a path in Windows form ("C:\Program Files\...") names a file inside that
// prefix; any other path is a native one and is used as it stands.
namespace WindowsPath {

// True for a drive letter, a colon and a separator at the start; Windows
// takes "\" and "/" alike.
bool isWindowsForm(const QString& path);

// The native path for what the player typed. A Windows-form path goes
// through the prefix's drive link and is read as Windows reads it: trailing
// spaces and dots of a name dropped, ".." stopping at the drive's root, and
// each component matched without regard to case when the exact name is
// missing, as Wine matches them. Empty when the prefix has no such drive:
// the folder does not exist.
std::optional<QString> toNative(const QString& typed, const WinePrefix& prefix);

} // namespace WindowsPath
