#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The mounts this process sees, from the kernel's own table. Reading it asks
// no mounted file system anything, so a share or FUSE server that stopped
// answering is listed like any other.
namespace MountTable {

struct Mount
{
    QString mountPoint;
    QByteArray type; // "ext4", "fuse.sshfs", ...
    QString source; // "/dev/sda1", a share, a server's name
};

// In the table's order: a mount over an earlier one comes after it.
QList<Mount> read();
// The lines of /proc/self/mountinfo.
QList<Mount> parse(const QByteArray& mountInfo);

} // namespace MountTable
