#pragma once

#include "game/GameInstallSearch.h"
#include "game/WinePrefix.h"
#include "platform/MountTable.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The drives a player can choose on Linux: the root file system first, the
// other mounted volumes a person would browse, the drives of the Wine prefix
// the game runs in, then one entry for the config folder of each copy of the
// game found elsewhere, so that it is one choice away. The copies take a
// search of their own, which may take a while; they are listed apart.
class DriveCatalog
{
public:
    struct Drive
    {
        QString designation; // "C:" for a Wine drive, the mount point or game folder otherwise
        QString root; // the folder that stands for the drive's root
        QString caption; // what the drive list shows
    };

    // The mounted volumes and the Wine prefix's drives, found without asking
    // any mounted file system anything: the window waits for this list, and
    // a share that stopped answering must not keep it from showing.
    static QList<Drive> fromSystem();
    // `labels`: each volume's label by its device, as /dev/disk/by-label
    // names them.
    static QList<Drive> build(const QList<MountTable::Mount>& mounts, const WinePrefix& prefix,
                              const QHash<QString, QString>& labels = {});
    static QList<Drive> gameDrives(const QList<GameInstallSearch::Install>& installs);

    // Pseudo file systems and the system's own trees are no drives to browse;
    // removable media mounted under /run/media are.
    static bool isBrowsableVolume(const QString& mountPoint, const QByteArray& fileSystemType);

    // The drive whose root holds the folder most closely; -1 when none does.
    // On a tie the earlier drive wins, so a mount beats a Wine drive mapped
    // to the same folder.
    static int driveHolding(const QList<Drive>& drives, const QString& folder);
};
