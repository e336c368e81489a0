#include "game/ConfigTarget.h"

#include "game/WindowsPath.h"
#include "platform/FileStatus.h"
#include "platform/SystemError.h"

#include <QDir>

#include <cerrno>

namespace {

// The folder a path names its file in, as the open will look for it.
QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.first(slash);
}

} // namespace

ConfigTarget ConfigTarget::resolve(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                                   const QList<GameInstallSearch::Install>& installs)
{
    ConfigTarget target;
    const std::optional<QString> native = WindowsPath::toNative(typed, prefix);
    if (typed == defaultPath && !(native && FileStatus::of(*native).exists())) {
        if (const std::optional<GameInstallSearch::Install> found = GameInstallSearch::newest(installs)) {
            target.m_nativePath = found->config;
            target.m_copy = found;
            return target;
        }
    }
    if (!native) {
        target.m_failure = SystemError::pathNotFound();
        target.m_reason = QStringLiteral("the Wine prefix %1 has no drive %2:")
                              .arg(QDir::toNativeSeparators(prefix.folder()), typed.first(1).toUpper());
        return target;
    }
    target.m_nativePath = *native;
    // An empty path, a folder, a FIFO or a folder that may not be searched
    // are the save's to refuse, in its own words; only what is missing is
    // told here.
    const FileStatus status = FileStatus::ofEntry(*native);
    if (native->isEmpty() || (status.error() != ENOENT && status.error() != ENOTDIR))
        return target;
    const QString folder = folderOf(*native);
    const bool folderExists = status.error() == ENOENT && FileStatus::of(folder).isFolder();
    target.m_failure = folderExists ? SystemError::fromErrno(ENOENT) : SystemError::pathNotFound();
    target.m_reason = QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(folderExists ? *native : folder));
    return target;
}
