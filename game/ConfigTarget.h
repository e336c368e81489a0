#pragma once

#include "game/GameInstallSearch.h"
#include "game/WinePrefix.h"
#include "platform/RuntimeError.h"

#include <QList>
#include <QString>

#include <optional>

// The file a save writes, from the text of the path box, in one call: the
// save and the box's tooltip ask the same question and get the same answer.
//
// The path box starts with the game's default Windows path; a player who left
// it so means the game's config the player plays. So the default path stands
// for the copy of the game whose config changed last (the game writes it each
// time it quits), of every copy found and the one the path reaches in the
// Wine prefix. Any other path is written exactly as given: a Windows-form one
// through the prefix's drives, a Linux one as it stands, "~/" being the home
// folder.
class ConfigTarget
{
public:
    // `installs` are the copies of the game found so far. Only the Wine prefix
    // is looked at, never the disk a typed path names, so asking is cheap and
    // never waits on a share that does not answer.
    static ConfigTarget resolve(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                                const QList<GameInstallSearch::Install>& installs);

    // The native path a save writes; empty when the prefix has no such drive.
    QString nativePath() const { return m_nativePath; }
    // The copy of the game the default path stands for, when it stands for one.
    const std::optional<GameInstallSearch::Install>& copy() const { return m_copy; }

    // What the save would find missing, looked at now: RuntimeError::PathNotFound
    // for a drive or folder, file not found for the file; nothing when the file
    // is there to write.
    std::optional<RuntimeError> missing() const;

    // For the path box's tooltip: "Saves to <path>", and for the default path
    // which copy of the game and why.
    QString description() const;

private:
    QString m_nativePath;
    QString m_noDrive; // the prefix's missing drive, as "C:"
    QString m_prefixFolder;
    std::optional<GameInstallSearch::Install> m_copy;
};
