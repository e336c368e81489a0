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
// it so means the game's config wherever the game is installed. So when that
// path leads to no file in the Wine prefix, the copy found changed last takes
// its place. Any other path is read as typed: a Windows-form one through the
// prefix's drives, a native one as it stands.
class ConfigTarget
{
public:
    // `installs` are the copies of the game already found; this never
    // searches the disk itself.
    static ConfigTarget resolve(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                                const QList<GameInstallSearch::Install>& installs);

    // The native path a save writes, also when it fails; empty when the
    // prefix has no such drive.
    QString nativePath() const { return m_nativePath; }
    // RuntimeError::PathNotFound for a missing drive or folder, file not
    // found for a missing file; nothing when the file is there to write.
    const std::optional<RuntimeError>& failure() const { return m_failure; }
    // What is missing, in words, when there is a failure.
    QString reason() const { return m_reason; }
    // The copy of the game the default path stands for, when it stands for one.
    const std::optional<GameInstallSearch::Install>& copy() const { return m_copy; }

private:
    QString m_nativePath;
    std::optional<RuntimeError> m_failure;
    QString m_reason;
    std::optional<GameInstallSearch::Install> m_copy;
};
