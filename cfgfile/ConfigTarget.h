#pragma once

#include "platform/GameInstallSearch.h"
#include "platform/WinePrefix.h"

#include <QString>

// The file a save works on. The path box starts with the game's default
// Windows path; a player who left it so means the game's config wherever
// the game is installed. So when that path leads to no file in the Wine
// prefix, the config found last changed elsewhere takes its place. Any other
// path, and the default one when nothing is found, is used as typed; the
// default path that leads to a file comes back as that file's native path.
namespace ConfigTarget {

QString forSave(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                const GameInstallSearch& search);

} // namespace ConfigTarget
