#include "cfgfile/ConfigSaver.h"

#include "cfgfile/ConfigRewrite.h"
#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"
#include "platform/WindowsPath.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Failure = std::optional<RuntimeError>;

// Large enough that reading costs no more than copying, small enough that a
// save of any file needs only a few of them in memory.
constexpr qsizetype ChunkSize = 256 << 10;

RuntimeError lastSystemError()
{
    return SystemError::fromErrno(errno);
}

bool sameContent(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool grantsWrite(const struct stat& status)
{
    return status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH);
}

// A missing file and a missing folder both read ENOENT; only the folder
// tells them apart.
RuntimeError missingEntry(const QString& path)
{
    if (QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return SystemError::fromErrno(ENOENT);
    return SystemError::pathNotFound();
}

Failure writeAll(int descriptor, QByteArrayView bytes, off_t offset)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::pwrite(descriptor, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastSystemError();
        }
        bytes = bytes.sliced(written);
        offset += written;
    }
    return {};
}

// Reads at most `buffer.size()` bytes at `offset`; the count read, or -1.
qsizetype readSome(int descriptor, QByteArray& buffer, off_t offset)
{
    for (;;) {
        const ssize_t count = ::pread(descriptor, buffer.data(), buffer.size(), offset);
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

// Feeds the file from `from` on to `consume` piece by piece, with each
// piece's offset, until it is read or `consume` has seen enough and returns
// false. Fails when the file ends anywhere but at `size`, since then someone
// else is writing it.
template <typename Consume>
Failure readFrom(int descriptor, off_t from, off_t size, Consume consume)
{
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    off_t offset = from;
    for (;;) {
        const qsizetype count = readSome(descriptor, buffer, offset);
        if (count < 0)
            return lastSystemError();
        if (count == 0)
            break;
        if (!consume(QByteArrayView(buffer.constData(), count), offset))
            return {};
        offset += count;
    }
    if (offset != size)
        return SystemError::changedMeanwhile();
    return {};
}

// The new file's content, written in order: stretches of the old file as
// they are, and bytes gathered into chunks.
class NewContentWriter
{
public:
    NewContentWriter(int source, int target)
        : m_source(source)
        , m_target(target)
    {
        m_pending.reserve(ChunkSize * 2);
    }

    // The old file's bytes from `from` to `from + length`, as they are.
    Failure copy(off_t from, off_t length);

    Failure add(QByteArrayView bytes)
    {
        if (m_pending.isEmpty() && bytes.size() >= ChunkSize)
            return write(bytes);
        m_pending.append(bytes);
        return m_pending.size() >= ChunkSize ? writePending() : Failure{};
    }

    Failure finish() { return writePending(); }

private:
    std::optional<Failure> copyInKernel(off_t from, off_t length);
    Failure write(QByteArrayView bytes);
    Failure writePending();

    int m_source;
    int m_target;
    QByteArray m_pending;
    off_t m_written = 0;
};

Failure NewContentWriter::copy(off_t from, off_t length)
{
    if (Failure failure = writePending())
        return failure;
    if (std::optional<Failure> outcome = copyInKernel(from, length))
        return *outcome;

    const off_t end = from + length;
    Failure writeFailure;
    Failure readFailure = readFrom(m_source, from, end, [&](QByteArrayView piece, off_t offset) {
        writeFailure = add(piece.first(qMin(piece.size(), qsizetype(end - offset))));
        return !writeFailure && offset + piece.size() < end;
    });
    return readFailure ? readFailure : writeFailure;
}

// Copies inside the kernel, as `cp` does, so that the bytes never pass through
// this process. Nothing when the file system cannot, and nothing was copied.
std::optional<Failure> NewContentWriter::copyInKernel(off_t from, off_t length)
{
    bool copiedAny = false;
    while (length > 0) {
        loff_t in = from;
        loff_t out = m_written;
        const ssize_t copied = ::copy_file_range(m_source, &in, m_target, &out, size_t(length), 0);
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (!copiedAny && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                return std::nullopt;
            return lastSystemError();
        }
        if (copied == 0)
            return SystemError::changedMeanwhile();
        copiedAny = true;
        from += copied;
        length -= copied;
        m_written += copied;
    }
    return Failure{};
}

Failure NewContentWriter::write(QByteArrayView bytes)
{
    if (Failure failure = writeAll(m_target, bytes, m_written))
        return failure;
    m_written += bytes.size();
    return {};
}

Failure NewContentWriter::writePending()
{
    Failure failure = write(m_pending);
    m_pending.resize(0); // keeps its capacity, unlike clear()
    return failure;
}

constexpr int TemporarySuffixLength = 8;

QByteArray temporaryName(const QByteArray& fileName)
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = '.' + fileName + ".veltrane-";
    for (int i = 0; i < TemporarySuffixLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name;
}

// The old content with its line ends made CR LF, written as a new file beside
// the old one and put in its place in one rename, so that no instant leaves
// less than the old or the new file under the name.
class ReplacingWrite
{
public:
    // `firstChange` as the scan found it: the old bytes before it stay.
    ReplacingWrite(int source, const struct stat& status, const QByteArray& encodedLine, off_t firstChange)
        : m_source(source)
        , m_status(status)
        , m_rewrite(encodedLine)
        , m_firstChange(firstChange)
    {
    }
    ~ReplacingWrite()
    {
        if (!m_name.isEmpty())
            ::unlinkat(m_folder.get(), m_name.constData(), 0);
    }
    ReplacingWrite(const ReplacingWrite&) = delete;
    ReplacingWrite& operator=(const ReplacingWrite&) = delete;

    Failure run(const QString& path);

private:
    void removeLeftovers(const QString& folder) const;
    Failure createBeside();
    Failure writeContent();
    Failure takeOwnerAndMode();
    Failure giveName();

    int m_source;
    struct stat m_status;
    ConfigRewrite m_rewrite;
    off_t m_firstChange;
    QByteArray m_fileName;
    FileDescriptor m_folder;
    FileDescriptor m_file;
    bool m_unnamed = false;
    QByteArray m_name; // the temporary name while one exists
};

Failure ReplacingWrite::run(const QString& path)
{
    // A link stays a link: the file it leads to is the one replaced.
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    if (target.filePath().isEmpty())
        return SystemError::changedMeanwhile();
    m_fileName = QFile::encodeName(target.fileName());
    m_folder = FileDescriptor(::open(QFile::encodeName(target.absolutePath()).constData(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_folder.isOpen())
        return lastSystemError();

    struct stat current;
    if (::fstatat(m_folder.get(), m_fileName.constData(), &current, 0) != 0 || !sameContent(current, m_status))
        return SystemError::changedMeanwhile();

    removeLeftovers(target.absolutePath());
    if (Failure failure = createBeside())
        return failure;
    if (Failure failure = writeContent())
        return failure;
    if (Failure failure = takeOwnerAndMode())
        return failure;
    if (::fsync(m_file.get()) != 0)
        return lastSystemError();

    if (::fstatat(m_folder.get(), m_fileName.constData(), &current, 0) != 0 || !sameContent(current, m_status))
        return SystemError::changedMeanwhile();
    if (Failure failure = giveName())
        return failure;
    if (::renameat(m_folder.get(), m_name.constData(), m_folder.get(), m_fileName.constData()) != 0)
        return lastSystemError();
    m_name.clear();
    // The new content is in place now; a folder that cannot be flushed does
    // not undo that.
    ::fsync(m_folder.get());
    return {};
}

void ReplacingWrite::removeLeftovers(const QString& folder) const
{
    // A save killed between naming its new file and renaming it over the old
    // one leaves that file behind, with the old content still in place; so
    // the next save, which has to replace the file again, clears it away.
    const QString prefix = QFile::decodeName(temporaryName(m_fileName).chopped(TemporarySuffixLength));
    const QStringList leftovers = QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& leftover : leftovers) {
        if (leftover.size() == prefix.size() + TemporarySuffixLength)
            ::unlinkat(m_folder.get(), QFile::encodeName(leftover).constData(), 0);
    }
}

Failure ReplacingWrite::createBeside()
{
    // An unnamed file vanishes by itself if the program dies while writing
    // it. Naming it later goes through /proc, which a chroot may lack.
    if (::access("/proc/self/fd", F_OK) == 0) {
        m_file = FileDescriptor(::openat(m_folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (m_file.isOpen()) {
            m_unnamed = true;
            return {};
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return lastSystemError();
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(m_fileName);
        m_file = FileDescriptor(::openat(m_folder.get(), name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
        if (m_file.isOpen()) {
            m_name = name;
            return {};
        }
        if (errno != EEXIST)
            return lastSystemError();
    }
    return SystemError::fromErrno(EEXIST);
}

Failure ReplacingWrite::writeContent()
{
    NewContentWriter out(m_source, m_file.get());
    // The scan has read up to the first change already, and those bytes stay.
    if (Failure failure = out.copy(0, m_firstChange))
        return failure;
    if (Failure failure = out.add("\n"))
        return failure;

    QByteArray rewritten;
    rewritten.reserve(ChunkSize * 2);
    Failure writeFailure;
    Failure readFailure = readFrom(m_source, m_firstChange, m_status.st_size, [&](QByteArrayView piece, off_t) {
        rewritten.resize(0);
        m_rewrite.rewrite(piece, rewritten);
        writeFailure = out.add(rewritten);
        return !writeFailure;
    });
    if (readFailure)
        return readFailure;
    if (writeFailure)
        return writeFailure;
    rewritten.resize(0);
    m_rewrite.finish(rewritten);
    if (Failure failure = out.add(rewritten))
        return failure;
    return out.finish();
}

Failure ReplacingWrite::takeOwnerAndMode()
{
    if (m_status.st_uid != ::geteuid()) {
        // Only the superuser can hand the file back to its owner.
        if (::fchown(m_file.get(), m_status.st_uid, m_status.st_gid) != 0)
            return lastSystemError();
    } else if (m_status.st_gid != ::getegid()) {
        // The owner may keep a group it belongs to; one it does not belong
        // to cannot be kept, and that is no reason to refuse the save.
        ::fchown(m_file.get(), uid_t(-1), m_status.st_gid);
    }
    // After the owner: changing it may clear the set-id bits.
    if (::fchmod(m_file.get(), m_status.st_mode & 07777) != 0)
        return lastSystemError();
    return {};
}

Failure ReplacingWrite::giveName()
{
    if (!m_unnamed)
        return {};
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_file.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(m_fileName);
        if (::linkat(AT_FDCWD, self.constData(), m_folder.get(), name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            m_name = name;
            return {};
        }
        if (errno != EEXIST)
            return lastSystemError();
    }
    return SystemError::fromErrno(EEXIST);
}

// The new bytes added after the old ones in the file itself, which keeps its
// inode and with it owner, mode, links and ACLs. Any failure cuts the file
// back to its old size.
Failure appendInPlace(int descriptor, off_t oldSize, QByteArrayView appendix)
{
    Failure failure = writeAll(descriptor, appendix, oldSize);
    if (!failure && ::fsync(descriptor) != 0)
        failure = lastSystemError();
    if (failure) {
        while (::ftruncate(descriptor, oldSize) != 0 && errno == EINTR) {
        }
        ::fsync(descriptor);
    }
    return failure;
}

Failure addLineToFile(const QString& path, const QString& line)
{
    if (path.isEmpty())
        return SystemError::badFileName();
    const QByteArray nativePath = QFile::encodeName(path);

    // Refused before opening: opening a FIFO or a device could block or
    // have effects of its own.
    struct stat before;
    if (::stat(nativePath.constData(), &before) != 0)
        return errno == ENOENT ? missingEntry(path) : lastSystemError();
    if (!S_ISREG(before.st_mode))
        return SystemError::pathFileAccess();

    const FileDescriptor input(::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!input.isOpen())
        return errno == ENOENT ? missingEntry(path) : lastSystemError();
    struct stat status;
    if (::fstat(input.get(), &status) != 0)
        return lastSystemError();
    if (!S_ISREG(status.st_mode))
        return SystemError::pathFileAccess();

    const QByteArray encodedLine = ConfigRewrite::encodeLine(line);
    ConfigRewrite rewrite(encodedLine);
    // The first line end that has to change settles how to save; what
    // follows it is read while writing.
    const auto scan = [&rewrite](QByteArrayView piece, off_t) {
        rewrite.scan(piece);
        return rewrite.keepsOldBytes();
    };
    if (Failure failure = readFrom(input.get(), 0, status.st_size, scan))
        return failure;

    // The mode is the player's word that the file stays as it is, even where
    // the system would let the superuser write it.
    if (!grantsWrite(status))
        return SystemError::permissionDenied();

    const FileDescriptor output(::open(nativePath.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!output.isOpen())
        return errno == ENOENT ? missingEntry(path) : lastSystemError();
    struct stat current;
    if (::fstat(output.get(), &current) != 0)
        return lastSystemError();
    if (!sameContent(current, status))
        return SystemError::changedMeanwhile();

    if (rewrite.keepsOldBytes())
        return appendInPlace(output.get(), status.st_size, rewrite.appendix());

    // Replacing the file would leave its other names with the old content.
    if (status.st_nlink > 1)
        return SystemError::hasOtherNames();
    return ReplacingWrite(input.get(), status, encodedLine, rewrite.firstChange()).run(path);
}

} // namespace

ConfigSaver::ConfigSaver(WinePrefix prefix)
    : m_prefix(std::move(prefix))
{
}

std::optional<RuntimeError> ConfigSaver::addLine(const QString& typedPath, const QString& line) const
{
    const std::optional<QString> path = WindowsPath::toNative(typedPath, m_prefix);
    if (!path)
        return SystemError::pathNotFound();
    return addLineToFile(*path, line);
}
