#include "game/WinePrefix.h"

#include "platform/FileStatus.h"

#include <QDir>

WinePrefix::WinePrefix(QString folder)
    : m_folder(std::move(folder))
{
}

WinePrefix WinePrefix::fromEnvironment(const QProcessEnvironment& environment)
{
    const QString prefix = environment.value(QStringLiteral("WINEPREFIX"));
    if (!prefix.isEmpty())
        return WinePrefix(prefix);
    return WinePrefix(environment.value(QStringLiteral("HOME"), QDir::homePath()) + QStringLiteral("/.wine"));
}

QList<WinePrefix::Drive> WinePrefix::drives() const
{
    QList<Drive> result;
    for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
        const QString folder = driveFolder(QChar(letter));
        if (!folder.isEmpty())
            result.append({QChar(letter), folder});
    }
    return result;
}

QString WinePrefix::driveFolder(QChar letter) const
{
    // Read from the link and the system's cache alone: a drive on a share
    // that stopped answering must not hold up the drive list.
    const QString devices = m_folder + QStringLiteral("/dosdevices");
    const QString target = FileStatus::linkTarget(devices + u'/' + letter.toLower() + u':');
    const QString folder = target.isEmpty() ? QString() : QDir::cleanPath(QDir(devices).absoluteFilePath(target));
    return FileStatus::cached(folder).isFolder() ? folder : QString();
}
