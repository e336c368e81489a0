#include "game/ConfigTarget.h"

#include "game/WindowsPath.h"
#include "platform/FileStatus.h"
#include "platform/SystemError.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

ConfigTarget ConfigTarget::resolve(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                                   const QList<GameInstallSearch::Install>& installs)
{
    ConfigTarget target;
    // A shell reads "~/" as the home folder, and so does a player.
    const QString path = typed.startsWith(u"~/") ? QDir::homePath() + typed.sliced(1) : typed;
    const std::optional<QString> native = WindowsPath::toNative(path, prefix);
    target.m_nativePath = native.value_or(QString());
    if (!native) {
        target.m_noDrive = typed.first(2).toUpper();
        target.m_prefixFolder = prefix.folder();
    }
    if (typed != defaultPath)
        return target;
    QList<GameInstallSearch::Install> copies = installs;
    if (const FileStatus status = native ? FileStatus::of(*native) : FileStatus(); status.isFile())
        copies.prepend({QStringLiteral("Wine"), QFileInfo(*native).path(), *native, status.modified()});
    if (const std::optional<GameInstallSearch::Install> newest = GameInstallSearch::newest(copies)) {
        target.m_nativePath = newest->config;
        target.m_noDrive.clear();
        target.m_copy = newest;
    }
    return target;
}

std::optional<RuntimeError> ConfigTarget::missing() const
{
    if (!m_noDrive.isEmpty())
        return SystemError::pathNotFound();
    // An empty path, a folder or a FIFO are the save's to refuse, in its own
    // words; only what is missing is told here.
    const FileStatus status = FileStatus::ofEntry(m_nativePath);
    if (m_nativePath.isEmpty() || (status.error() != ENOENT && status.error() != ENOTDIR))
        return std::nullopt;
    const bool folderExists = status.error() == ENOENT && FileStatus::of(QFileInfo(m_nativePath).path()).isFolder();
    return folderExists ? SystemError::fromErrno(ENOENT) : SystemError::pathNotFound();
}

QString ConfigTarget::description() const
{
    if (!m_noDrive.isEmpty())
        return QStringLiteral("No file to save to: the Wine prefix %1 has no drive %2")
            .arg(QDir::toNativeSeparators(m_prefixFolder), m_noDrive);
    if (m_nativePath.isEmpty())
        return QStringLiteral("No file to save to: the path is empty");
    const QString saves = QStringLiteral("Saves to %1").arg(QDir::toNativeSeparators(m_nativePath));
    return m_copy ? saves + QStringLiteral(" \u2014 the copy played last (%1)").arg(m_copy->source) : saves;
}
