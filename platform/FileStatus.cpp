#include "platform/FileStatus.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

FileStatus::Kind kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return FileStatus::Kind::Folder;
    if (S_ISREG(mode))
        return FileStatus::Kind::File;
    if (S_ISLNK(mode))
        return FileStatus::Kind::Link;
    return FileStatus::Kind::Other;
}

} // namespace

FileStatus FileStatus::of(const QString& path)
{
    return read(path, ::stat);
}

FileStatus FileStatus::ofEntry(const QString& path)
{
    return read(path, ::lstat);
}

FileStatus FileStatus::read(const QString& path, int (*statCall)(const char*, struct stat*))
{
    struct stat status{};
    FileStatus result;
    if (path.isEmpty() || statCall(QFile::encodeName(path).constData(), &status) != 0) {
        result.m_error = path.isEmpty() ? ENOENT : errno;
        return result;
    }
    result.m_kind = kindOf(status.st_mode);
    result.m_identity = {status.st_dev, status.st_ino};
    result.m_modifiedMSecs = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return result;
}

FileStatus FileStatus::cached(const QString& path)
{
    return read(path, [](const char* encoded, struct stat* status) {
        struct statx found{};
        if (::statx(AT_FDCWD, encoded, AT_STATX_DONT_SYNC, STATX_TYPE | STATX_INO, &found) != 0)
            return -1;
        status->st_mode = found.stx_mode;
        status->st_dev = makedev(found.stx_dev_major, found.stx_dev_minor);
        status->st_ino = found.stx_ino;
        return 0;
    });
}

QDateTime FileStatus::modified() const
{
    return QDateTime::fromMSecsSinceEpoch(m_modifiedMSecs, Qt::UTC);
}

QString FileStatus::linkTarget(const QString& link)
{
    char target[4096];
    const ssize_t size = ::readlink(QFile::encodeName(link).constData(), target, sizeof target);
    if (size <= 0 || size == ssize_t(sizeof target))
        return {};
    return QFile::decodeName(QByteArray(target, size));
}

QString FileStatus::canonicalPath(const QString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(QFile::encodeName(path).constData(), nullptr),
                                                           &std::free);
    return real ? QFile::decodeName(real.get()) : QString();
}
