#include "cfgfile/SaveTarget.h"

#include "platform/PosixFile.h"
#include "platform/SystemError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>

namespace {

// A missing file, a link that leads nowhere and a missing folder all read
// ENOENT; only the folder the path names tells them apart.
RuntimeError missingEntry(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.first(slash);
    return PosixFile::isFolder(folder) ? SystemError::fromErrno(ENOENT) : SystemError::pathNotFound();
}

} // namespace

std::optional<RuntimeError> SaveTarget::open(const QByteArray& nativePath)
{
    if (nativePath.isEmpty())
        return SystemError::badFileName();
    if (const int error = PosixFile::resolve(nativePath, m_folderPath, m_name))
        return error == ENOENT ? missingEntry(nativePath) : SystemError::fromErrno(error);
    if (const int error = PosixFile::openFolder(m_folderPath, m_folder))
        return SystemError::fromErrno(error);

    // Refused before opening: opening a FIFO or a device could block or have
    // effects of its own.
    struct stat before;
    if (const int error = PosixFile::statusIn(folder(), m_name, before))
        return SystemError::fromErrno(error);
    if (!S_ISREG(before.st_mode))
        return SystemError::pathFileAccess();
    if (const int error = PosixFile::openIn(folder(), m_name, O_RDONLY, m_input))
        return error == ELOOP ? SystemError::changedMeanwhile() : SystemError::fromErrno(error);
    if (const int error = PosixFile::status(input(), m_status))
        return SystemError::fromErrno(error);
    if (!S_ISREG(m_status.st_mode))
        return SystemError::pathFileAccess();
    return std::nullopt;
}

int SaveTarget::refreshStatus()
{
    return PosixFile::status(input(), m_status);
}

QString SaveTarget::shownPath() const
{
    return QFile::decodeName(m_folderPath == "/" ? '/' + m_name : m_folderPath + '/' + m_name);
}

std::optional<RuntimeError> SaveTarget::checkUnchanged() const
{
    struct stat now;
    if (const int error = PosixFile::statusIn(folder(), m_name, now))
        return error == ENOENT ? SystemError::changedMeanwhile() : SystemError::fromErrno(error);
    if (!isUnchanged(now))
        return SystemError::changedMeanwhile();
    return std::nullopt;
}

bool SaveTarget::isUnchanged(const struct stat& now) const
{
    return now.st_dev == m_status.st_dev && now.st_ino == m_status.st_ino && now.st_size == m_status.st_size
        && now.st_mtim.tv_sec == m_status.st_mtim.tv_sec && now.st_mtim.tv_nsec == m_status.st_mtim.tv_nsec;
}
