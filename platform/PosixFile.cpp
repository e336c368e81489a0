#include "platform/PosixFile.h"

#include <QList>

#include <cerrno>
#include <csignal>
#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The flags `chattr` sets that say how a file is stored or kept, which its
// copy carries over. Append-only and immutable files are never replaced.
constexpr int CopyableFlags = FS_SECRM_FL | FS_UNRM_FL | FS_COMPR_FL | FS_SYNC_FL | FS_NODUMP_FL | FS_NOATIME_FL
                              | FS_JOURNAL_DATA_FL | FS_NOTAIL_FL | FS_NOCOMP_FL | FS_NOCOW_FL;
// The most the kernel holds for one attribute's value or a file's list of names.
constexpr qsizetype AttributeMax = 65536;

template <typename Call>
int retried(Call call)
{
    while (call() < 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// A file's flags; none where the file system keeps none.
int flagsOf(int file)
{
    int flags = 0;
    return retried([&] { return ::ioctl(file, FS_IOC_GETFLAGS, &flags); }) == 0 ? flags : 0;
}

// Set before any content: some flags, such as no copy-on-write, take only on
// an empty file. A new file may have taken flags from its folder that the
// old one lacks.
int copyFlags(int from, int to)
{
    const int wanted = flagsOf(from) & CopyableFlags;
    const int present = flagsOf(to);
    int flags = (present & ~CopyableFlags) | wanted;
    return (present & CopyableFlags) == wanted ? 0 : retried([&] { return ::ioctl(to, FS_IOC_SETFLAGS, &flags); });
}

int attributeNames(int file, QList<QByteArray>& names)
{
    QByteArray list(AttributeMax, Qt::Uninitialized);
    ssize_t size = 0;
    const int error = retried([&] { return size = ::flistxattr(file, list.data(), size_t(list.size())); });
    names = error ? QList<QByteArray>() : list.first(size).split('\0');
    names.removeAll(QByteArray());
    return error == ENOTSUP ? 0 : error;
}

int copyAttributes(int from, int to)
{
    QList<QByteArray> wanted;
    QList<QByteArray> present;
    if (const int error = attributeNames(from, wanted))
        return error;
    if (const int error = attributeNames(to, present))
        return error;
    // A folder's default ACL gives a new file an ACL the old one lacked. Some
    // file systems list one ACL under two names, and removing one removes both.
    for (const QByteArray& name : present) {
        const int error = wanted.contains(name) ? 0 : retried([&] { return ::fremovexattr(to, name.constData()); });
        if (error && error != ENODATA)
            return error;
    }
    QByteArray value(AttributeMax, Qt::Uninitialized);
    for (const QByteArray& name : wanted) {
        ssize_t size = 0;
        if (const int error = retried([&] { return size = ::fgetxattr(from, name.constData(), value.data(), size_t(value.size())); }))
            return error;
        if (const int error = retried([&] { return ::fsetxattr(to, name.constData(), value.constData(), size_t(size), 0); }))
            return error;
    }
    return 0;
}

} // namespace

namespace PosixFile {

void ignoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

int openFolderOf(const QByteArray& path, FileDescriptor& folder, QByteArray& name)
{
    QByteArray full(PATH_MAX, '\0');
    if (const int error = retried([&] { return ::realpath(path.constData(), full.data()) ? 0 : -1; }))
        return error;
    full.truncate(qstrlen(full.constData()));
    const qsizetype slash = full.lastIndexOf('/');
    name = full.sliced(slash + 1);
    if (name.isEmpty())
        return EISDIR;
    const QByteArray folderPath = slash == 0 ? QByteArray("/") : full.first(slash);
    return retried([&] { return folder.reset(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); });
}

int openIn(int folder, const QByteArray& name, int flags, FileDescriptor& file)
{
    const int all = flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    return retried([&] { return file.reset(::openat(folder, name.constData(), all, 0600)); });
}

int statusIn(int folder, const QByteArray& name, struct stat& status)
{
    return retried([&] { return ::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW); });
}

int status(int file, struct stat& status) { return retried([&] { return ::fstat(file, &status); }); }

int readAll(int file, QByteArray& content)
{
    struct stat now;
    if (const int error = status(file, now))
        return error;
    // A byte more than the size shows a file that grows meanwhile. Huge pages
    // spare a large file thousands of page faults, dearest under a hypervisor.
    content.resize(qsizetype(now.st_size) + 1);
    const quintptr hugePage = 2 << 20;
    const quintptr first = (quintptr(content.data()) + hugePage - 1) & ~(hugePage - 1);
    const quintptr end = quintptr(content.data() + content.size()) & ~(hugePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    qsizetype total = 0;
    for (ssize_t count = 1; count > 0 && total < content.size(); total += count) {
        const size_t room = size_t(content.size() - total);
        if (const int error = retried([&] { return count = ::pread(file, content.data() + total, room, off_t(total)); }))
            return error;
    }
    content.resize(total);
    return 0;
}

int write(int file, QByteArrayView bytes, qint64& written)
{
    for (written = 0; written < bytes.size();) {
        ssize_t count = 0;
        const QByteArrayView rest = bytes.sliced(written);
        if (const int error = retried([&] { return count = ::write(file, rest.data(), size_t(rest.size())); }))
            return error;
        written += count;
    }
    return 0;
}

int reserve(int file, qint64 offset, qint64 length)
{
    return retried([&] { return ::fallocate(file, FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(length)); });
}

int truncate(int file, qint64 size) { return retried([&] { return ::ftruncate(file, off_t(size)); }); }

int flush(int file) { return retried([&] { return ::fsync(file); }); }

bool isAppendOnly(int file) { return flagsOf(file) & (FS_APPEND_FL | FS_IMMUTABLE_FL); }

int exchange(int folder, const QByteArray& first, const QByteArray& second)
{
    return retried([&] { return ::renameat2(folder, first.constData(), folder, second.constData(), RENAME_EXCHANGE); });
}

int rename(int folder, const QByteArray& from, const QByteArray& to)
{
    return retried([&] { return ::renameat(folder, from.constData(), folder, to.constData()); });
}

int remove(int folder, const QByteArray& name)
{
    return retried([&] { return ::unlinkat(folder, name.constData(), 0); });
}

int copyIdentity(int from, int to)
{
    struct stat old;
    if (const int error = status(from, old))
        return error;
    // The owner first: changing it clears the set-id bits the mode restores.
    if (const int error = retried([&] { return ::fchown(to, old.st_uid, old.st_gid); }))
        return error;
    if (const int error = retried([&] { return ::fchmod(to, old.st_mode & 07777); }))
        return error;
    if (const int error = copyFlags(from, to))
        return error;
    return copyAttributes(from, to);
}

} // namespace PosixFile
