#include "platform/PosixFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <ctime>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

template <typename Call>
int retried(Call call)
{
    for (;;) {
        if (call() >= 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

bool belongsToGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    QList<gid_t> groups(qMax(count, 0));
    if (count <= 0 || ::getgroups(count, groups.data()) < 0)
        return false;
    return groups.contains(group);
}

// Reads an attribute list or value whose size can change between asking and
// reading.
template <typename Read>
int readGrowing(QByteArray& out, Read read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return errno;
        out.resize(size);
        const ssize_t got = size ? read(out.data(), size_t(size)) : 0;
        if (got >= 0) {
            out.resize(got);
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
}

int attributeNames(int file, QList<QByteArray>& names)
{
    QByteArray list;
    if (const int error = readGrowing(list, [file](char* buffer, size_t size) { return ::flistxattr(file, buffer, size); }))
        return error == ENOTSUP ? 0 : error;
    names = list.split('\0');
    names.removeAll(QByteArray());
    return 0;
}

} // namespace

namespace PosixFile {

void ignoreSignalsThatStopASave()
{
    ::signal(SIGXFSZ, SIG_IGN);
    ::signal(SIGIO, SIG_IGN);
}

int resolve(const QByteArray& path, QByteArray& folder, QByteArray& name)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr), &std::free);
    if (!real)
        return errno;
    const QByteArray full(real.get());
    const qsizetype slash = full.lastIndexOf('/');
    folder = slash == 0 ? QByteArray("/") : full.first(slash);
    name = full.sliced(slash + 1);
    return name.isEmpty() ? EISDIR : 0;
}

bool isFolder(const QByteArray& path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

int openFolder(const QByteArray& path, FileDescriptor& folder)
{
    // A folder that may be searched but not listed still holds files that
    // may be written.
    for (const int access : {O_RDONLY, O_PATH}) {
        folder = FileDescriptor(::open(path.constData(), access | O_DIRECTORY | O_CLOEXEC));
        if (folder.isOpen())
            return 0;
        if (errno != EACCES)
            break;
    }
    return errno;
}

int openIn(int folder, const QByteArray& name, int flags, FileDescriptor& file)
{
    return retried([&] {
        file = FileDescriptor(::openat(folder, name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        return file.get();
    });
}

int statusIn(int folder, const QByteArray& name, struct stat& status)
{
    return retried([&] { return ::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW); });
}

int status(int file, struct stat& status)
{
    return retried([&] { return ::fstat(file, &status); });
}

bool isMountRoot(int file)
{
    struct statx status;
    if (::statx(file, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &status) != 0)
        return false;
    return (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (status.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

int mayWrite(int folder, const QByteArray& name)
{
    return retried([&] { return ::faccessat(folder, name.constData(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW); });
}

bool canGiveOwnership(const struct stat& status)
{
    if (::geteuid() == 0)
        return true;
    return status.st_uid == ::geteuid() && belongsToGroup(status.st_gid);
}

int takeWriteLease(int file)
{
    return retried([&] { return ::fcntl(file, F_SETLEASE, F_WRLCK); });
}

bool holdsWriteLease(int file)
{
    return ::fcntl(file, F_GETLEASE) == F_WRLCK;
}

void pause(int milliseconds)
{
    timespec rest{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (::nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

void dropLease(int file)
{
    ::fcntl(file, F_SETLEASE, F_UNLCK);
}

int readAt(int file, char* buffer, qint64 size, qint64 offset, qint64& count)
{
    return retried([&] { return count = ::pread(file, buffer, size_t(size), off_t(offset)); });
}

int writeAt(int file, QByteArrayView bytes, qint64 offset)
{
    while (!bytes.isEmpty()) {
        ssize_t written = 0;
        if (const int error = retried([&] { return written = ::pwrite(file, bytes.data(), size_t(bytes.size()), off_t(offset)); }))
            return error;
        bytes = bytes.sliced(written);
        offset += written;
    }
    return 0;
}

int append(int file, QByteArrayView bytes, qint64& written)
{
    written = 0;
    while (written < bytes.size()) {
        ssize_t count = 0;
        const QByteArrayView rest = bytes.sliced(written);
        if (const int error = retried([&] { return count = ::write(file, rest.data(), size_t(rest.size())); }))
            return error;
        written += count;
    }
    return 0;
}

int copyRange(int from, qint64 fromOffset, int to, qint64 toOffset, qint64 length, qint64& copied)
{
    loff_t in = fromOffset;
    loff_t out = toOffset;
    return retried([&] { return copied = ::copy_file_range(from, &in, to, &out, size_t(length), 0); });
}

int reserve(int file, qint64 offset, qint64 length)
{
    return retried([&] { return ::fallocate(file, FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(length)); });
}

int truncate(int file, qint64 size)
{
    return retried([&] { return ::ftruncate(file, off_t(size)); });
}

int flush(int file)
{
    return retried([&] { return ::fsync(file); });
}

int createUnnamed(int folder, FileDescriptor& file)
{
    return retried([&] {
        file = FileDescriptor(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        return file.get();
    });
}

int createNamed(int folder, const QByteArray& name, FileDescriptor& file)
{
    return retried([&] {
        file = FileDescriptor(::openat(folder, name.constData(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0600));
        return file.get();
    });
}

int giveName(int file, int folder, const QByteArray& name)
{
    // Naming by descriptor needs a capability; naming through /proc needs
    // /proc, which a chroot may lack.
    if (::linkat(file, "", folder, name.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno != ENOENT && errno != EPERM)
        return errno;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file);
    return retried([&] { return ::linkat(AT_FDCWD, self.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW); });
}

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

int namesIn(int folder, QList<QByteArray>& names)
{
    const int copy = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0)
        return errno;
    const auto closeListing = [](DIR* listing) { ::closedir(listing); };
    const std::unique_ptr<DIR, decltype(closeListing)> listing(::fdopendir(copy), closeListing);
    if (!listing) {
        const int error = errno;
        ::close(copy);
        return error;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(listing.get()))
        names << QByteArray(entry->d_name);
    return errno;
}

int copyIdentity(const struct stat& status, int from, int to)
{
    // The owner first: changing it clears the set-id bits the mode restores.
    if (::fchown(to, status.st_uid, status.st_gid) != 0)
        return errno;
    if (::fchmod(to, status.st_mode & 07777) != 0)
        return errno;

    QList<QByteArray> wanted;
    QList<QByteArray> present;
    if (const int error = attributeNames(from, wanted))
        return error;
    if (const int error = attributeNames(to, present))
        return error;
    // A folder's default ACL gives a new file an ACL the old one lacked.
    for (const QByteArray& name : present) {
        if (!wanted.contains(name) && ::fremovexattr(to, name.constData()) != 0)
            return errno;
    }
    for (const QByteArray& name : wanted) {
        QByteArray value;
        if (const int error = readGrowing(value, [&](char* buffer, size_t size) {
                return ::fgetxattr(from, name.constData(), buffer, size);
            }))
            return error;
        if (::fsetxattr(to, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return errno;
    }
    return 0;
}

} // namespace PosixFile
