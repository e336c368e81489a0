#include "cfgfile/ConfigSaver.h"

#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigRewrite.h"
#include "platform/PosixFile.h"
#include "platform/SystemError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>

namespace {

using Failure = std::optional<RuntimeError>;

// The file a save works on, found once: its folder and itself held open, so
// that nothing later looks the path up again or follows a changed link.
struct Target
{
    QString path; // for messages
    FileDescriptor folder;
    QByteArray name;
    FileDescriptor file;
    struct stat read {}; // the file as its content was read
};

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `name` still leads to the file read, and the file is as it was read.
bool isAsRead(const Target& target, const QByteArray& name)
{
    struct stat named;
    struct stat now;
    return PosixFile::statusIn(target.folder.get(), name, named) == 0 && PosixFile::status(target.file.get(), now) == 0
        && sameFile(named, target.read) && now.st_size == target.read.st_size
        && now.st_mtim.tv_sec == target.read.st_mtim.tv_sec && now.st_mtim.tv_nsec == target.read.st_mtim.tv_nsec;
}

// The new file's name until it takes the old one's: as much of that as fits.
QByteArray temporaryName(const QByteArray& name)
{
    constexpr QByteArrayView Mark(".veltrane");
    return '.' + name.first(qMin(name.size(), 254 - Mark.size())) + Mark.toByteArray();
}

Failure openAndRead(Target& target, QByteArray& content)
{
    const QByteArray path = QFile::encodeName(target.path);
    if (path.isEmpty())
        return SystemError::badFileName();
    if (const int error = PosixFile::openFolderOf(path, target.folder, target.name))
        return SystemError::fromErrno(error);
    // Opening a FIFO or a device could block or have effects of its own. The
    // mode is the player's word that the file stays as it is, even for root.
    struct stat found;
    if (const int error = PosixFile::statusIn(target.folder.get(), target.name, found))
        return SystemError::fromErrno(error);
    if (!S_ISREG(found.st_mode))
        return SystemError::pathFileAccess();
    if (!(found.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        return SystemError::permissionDenied();
    if (const int error = PosixFile::openIn(target.folder.get(), target.name, O_RDWR | O_APPEND, target.file))
        return error == ELOOP ? SystemError::changedMeanwhile() : SystemError::fromErrno(error);
    int error = PosixFile::readAll(target.file.get(), content);
    if (!error)
        error = PosixFile::status(target.file.get(), target.read);
    if (error)
        return SystemError::fromErrno(error);
    // What another program wrote meanwhile is neither old content nor new.
    if (!sameFile(target.read, found) || target.read.st_size != content.size())
        return SystemError::changedMeanwhile();
    return std::nullopt;
}

// Adding at the end keeps the file's inode, and with it everything the file
// is. With O_APPEND the bytes land after anything another program appended
// meanwhile, never over it.
Failure appendInPlace(const Target& target, QByteArrayView appendix)
{
    const int file = target.file.get();
    const qint64 oldSize = target.read.st_size;
    // Room first, so that a full disk or quota fails with nothing written. A
    // file system that cannot reserve room still takes the write.
    const int reserved = PosixFile::reserve(file, oldSize, appendix.size());
    if (reserved && reserved != EOPNOTSUPP && reserved != ENOSYS)
        return SystemError::fromErrno(reserved);
    qint64 written = 0;
    int error = PosixFile::write(file, appendix, written);
    if (!error)
        error = PosixFile::flush(file);
    // An editor saves by renaming its new file over the name; the line went
    // to the old file then, which no longer has that name.
    struct stat now;
    const bool renamedOver = !error && (PosixFile::statusIn(target.folder.get(), target.name, now) != 0 || !sameFile(now, target.read));
    if (!error && !renamedOver)
        return std::nullopt;
    const RuntimeError failure = renamedOver ? SystemError::changedMeanwhile() : SystemError::fromErrno(error);
    // What was written is taken back. Bytes beyond ours are another
    // program's, and cutting back would take them too: then the file is left
    // longer, and the failure says so.
    if (written > 0
        && (PosixFile::status(file, now) != 0 || now.st_size != oldSize + written || PosixFile::truncate(file, oldSize) != 0
            || PosixFile::flush(file) != 0))
        return SystemError::mayEndWithPartOfLine(failure, target.path);
    return failure;
}

// One step, so that the name always holds the old or the new file. What
// another program did to the file or its name just before the swap ends up
// under the hidden name and gets its name back, as does the old file when
// the folder cannot record the swap.
Failure swapIn(const Target& target, const QByteArray& temporary)
{
    const int folder = target.folder.get();
    const auto giveUp = [&](const RuntimeError& failure) {
        PosixFile::remove(folder, temporary);
        return failure;
    };
    if (!isAsRead(target, target.name))
        return giveUp(SystemError::changedMeanwhile());
    int error = PosixFile::exchange(folder, temporary, target.name);
    if (error == EINVAL || error == ENOSYS) {
        // A file system that cannot swap still renames in one step; the check
        // just now stands for the old file.
        error = PosixFile::rename(folder, temporary, target.name);
        if (!error)
            error = PosixFile::flush(folder);
        return error ? giveUp(SystemError::fromErrno(error)) : Failure{};
    }
    if (error)
        return giveUp(SystemError::fromErrno(error));

    const bool changed = !isAsRead(target, temporary);
    const int flushError = changed ? 0 : PosixFile::flush(folder);
    if ((changed || flushError) && PosixFile::exchange(folder, temporary, target.name) != 0)
        return changed ? SystemError::savedBesideForeignChange(target.path, QFile::decodeName(temporary))
                       : SystemError::fromErrno(flushError);
    // The hidden name holds what is not wanted now: the old content, or the
    // new one swapped back. Should removing it fail, the next save clears it.
    PosixFile::remove(folder, temporary);
    return changed ? SystemError::changedMeanwhile() : flushError ? SystemError::fromErrno(flushError) : Failure{};
}

// Setting the old file aside would split it from its other names, and an
// append-only file or folder forbids it. The new file is flushed before it
// takes the name, which must never lead to bytes that are not on the disk.
Failure replace(const Target& target, const QList<QByteArrayView>& stretches, const QByteArray& ending)
{
    if (target.read.st_nlink > 1)
        return SystemError::hasOtherNames();
    if (PosixFile::isAppendOnly(target.file.get()) || PosixFile::isAppendOnly(target.folder.get()))
        return SystemError::appendOnly();
    const QByteArray temporary = temporaryName(target.name);
    FileDescriptor copy;
    qint64 written = 0;
    int error = PosixFile::openIn(target.folder.get(), temporary, O_RDWR | O_CREAT | O_EXCL, copy);
    if (error)
        return SystemError::fromErrno(error);
    error = PosixFile::copyIdentity(target.file.get(), copy.get());
    // Each stretch but the last ends in a lone CR, which gets its LF.
    for (qsizetype i = 0; !error && i < stretches.size(); ++i) {
        error = PosixFile::write(copy.get(), stretches[i], written);
        if (!error)
            error = PosixFile::write(copy.get(), i + 1 < stretches.size() ? QByteArrayView("\n") : QByteArrayView(ending), written);
    }
    if (!error)
        error = PosixFile::flush(copy.get());
    if (!error)
        return swapIn(target, temporary);
    PosixFile::remove(target.folder.get(), temporary);
    return SystemError::fromErrno(error);
}

} // namespace

namespace ConfigSaver {

std::optional<RuntimeError> addLine(const QString& nativePath, const QString& line)
{
    // A line break would make the line two console commands, the second one
    // run at the next start of the game; the game reads a NUL as its end.
    if (line.contains(u'\r') || line.contains(u'\n'))
        return SystemError::lineBreakInLine();
    if (line.contains(QChar(0)))
        return SystemError::nulInLine();
    PosixFile::ignoreFileSizeSignal();

    Target target;
    target.path = nativePath;
    QByteArray content;
    if (Failure failure = openAndRead(target, content))
        return failure;
    // What a save killed halfway through a replacement left beside the file.
    PosixFile::remove(target.folder.get(), temporaryName(target.name));

    const QList<QByteArrayView> stretches = ConfigRewrite::stretches(content);
    const QByteArray ending = ConfigRewrite::ending(content, encodeConfigLine(line));
    if (stretches.size() == 1)
        return appendInPlace(target, ending);
    return replace(target, stretches, ending);
}

} // namespace ConfigSaver
