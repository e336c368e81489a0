#include "game/DriveCatalog.h"

#include "platform/FileStatus.h"
#include "platform/FolderListing.h"

#include <QDir>

#include <algorithm>

namespace {

// Kernel interfaces and memory file systems. Whatever lies on a memory file
// system is still reachable from the root drive; it just gets no drive of its own.
constexpr const char* PseudoFileSystems[] = {
    "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
    "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "proc", "pstore", "ramfs", "rpc_pipefs",
    "securityfs", "selinuxfs", "squashfs", "sysfs", "tmpfs", "tracefs", "fuse.portal", "fuse.gvfsd-fuse",
};

constexpr const char* SystemTrees[] = {"/proc", "/sys", "/dev", "/run"};

// The devices' labels, from the links udev keeps; the devices themselves are
// not asked. A label writes some characters as \xNN.
QHash<QString, QString> volumeLabels()
{
    const QString folder = QStringLiteral("/dev/disk/by-label");
    QHash<QString, QString> labels;
    const FolderListing links = FolderListing::read(folder);
    for (const FolderListing::Entry& entry : links.entries()) {
        QByteArray label = entry.name.toUtf8();
        for (qsizetype at = label.indexOf("\\x"); at >= 0 && at + 4 <= label.size(); at = label.indexOf("\\x", at + 1))
            label.replace(at, 4, QByteArray(1, char(label.mid(at + 2, 2).toInt(nullptr, 16))));
        const QString device = QDir::cleanPath(folder + u'/' + FileStatus::linkTarget(folder + u'/' + entry.name));
        labels.insert(device, QString::fromUtf8(label));
    }
    return labels;
}

} // namespace

QList<DriveCatalog::Drive> DriveCatalog::fromSystem()
{
    return build(MountTable::read(), WinePrefix::fromEnvironment(), volumeLabels());
}

QList<DriveCatalog::Drive> DriveCatalog::build(const QList<MountTable::Mount>& mountTable, const WinePrefix& prefix,
                                               const QHash<QString, QString>& labels)
{
    QList<Drive> mounts;
    for (const MountTable::Mount& mount : mountTable) {
        const QString& mountPoint = mount.mountPoint;
        if (!isBrowsableVolume(mountPoint, mount.type)
            || std::ranges::any_of(mounts, [&](const Drive& drive) { return drive.root == mountPoint; }))
            continue; // mounted twice over the same point: the player sees one drive
        // A file mounted over a file, as containers do with /etc/hosts, is
        // no drive to browse.
        if (!FileStatus::cached(mountPoint).isFolder())
            continue;
        // Labels name the device itself, not a link to it such as /dev/mapper/*.
        const QString device = mount.source.startsWith(QStringLiteral("/dev/")) ? FileStatus::canonicalPath(mount.source)
                                                                                : QString();
        const QString name = labels.value(device.isEmpty() ? mount.source : device);
        const QString shown = QDir::toNativeSeparators(mountPoint);
        mounts.append({mountPoint, mountPoint, name.isEmpty() ? shown : shown + QStringLiteral(" [%1]").arg(name)});
    }
    const QString root = QDir::rootPath();
    std::ranges::stable_sort(mounts, [&](const Drive& a, const Drive& b) {
        if ((a.root == root) != (b.root == root))
            return a.root == root;
        return a.root < b.root;
    });

    QList<Drive> drives = mounts;
    for (const WinePrefix::Drive& wine : prefix.drives()) {
        const QString designation = QString(wine.letter.toUpper()) + QLatin1Char(':');
        drives.append({designation, wine.folder,
                       designation + QStringLiteral(" [%1]").arg(QDir::toNativeSeparators(wine.folder))});
    }
    return drives;
}

QList<DriveCatalog::Drive> DriveCatalog::gameDrives(const QList<GameInstallSearch::Install>& installs)
{
    QList<Drive> drives;
    for (const GameInstallSearch::Install& install : installs) {
        drives.append({install.folder, install.folder,
                       QStringLiteral("SoF2 (%1): [%2]").arg(install.source, QDir::toNativeSeparators(install.folder))});
    }
    return drives;
}

bool DriveCatalog::isBrowsableVolume(const QString& mountPoint, const QByteArray& fileSystemType)
{
    if (mountPoint == QDir::rootPath())
        return true;
    for (const char* pseudo : PseudoFileSystems) {
        if (fileSystemType == pseudo)
            return false;
    }
    if (FolderListing::holds(QStringLiteral("/run/media"), mountPoint))
        return true;
    for (const char* tree : SystemTrees) {
        if (FolderListing::holds(QString::fromLatin1(tree), mountPoint))
            return false;
    }
    return true;
}

int DriveCatalog::driveHolding(const QList<Drive>& drives, const QString& folder)
{
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        if (FolderListing::holds(drives[i].root, folder) && (best < 0 || drives[i].root.size() > drives[best].root.size()))
            best = i;
    }
    return best;
}
