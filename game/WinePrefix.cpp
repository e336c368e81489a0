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
    const QString link = m_folder + QStringLiteral("/dosdevices/") + letter.toLower() + QLatin1Char(':');
    if (!FileStatus::of(link).isFolder())
        return {};
    return FileStatus::canonicalPath(link);
}
