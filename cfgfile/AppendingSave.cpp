#include "cfgfile/AppendingSave.h"

#include "cfgfile/SaveTarget.h"
#include "platform/PosixFile.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <fcntl.h>

AppendingSave::AppendingSave(const SaveTarget& target, QByteArrayView appendix)
    : m_target(target)
    , m_appendix(appendix)
{
}

std::optional<RuntimeError> AppendingSave::run() const
{
    FileDescriptor output;
    if (const int error = PosixFile::openIn(m_target.folder(), m_target.name(), O_WRONLY | O_APPEND, output))
        return error == ELOOP || error == ENOENT ? SystemError::changedMeanwhile() : SystemError::fromErrno(error);
    struct stat now;
    if (const int error = PosixFile::status(output.get(), now))
        return SystemError::fromErrno(error);
    if (!m_target.isUnchanged(now))
        return SystemError::changedMeanwhile();

    const qint64 oldSize = now.st_size;
    const int reserved = PosixFile::reserve(output.get(), oldSize, m_appendix.size());
    // A file system that cannot reserve room still takes the write.
    if (reserved && reserved != EOPNOTSUPP && reserved != ENOSYS)
        return SystemError::fromErrno(reserved);

    qint64 written = 0;
    if (const int error = PosixFile::append(output.get(), m_appendix, written))
        return undo(output.get(), SystemError::fromErrno(error), written);
    if (const int error = PosixFile::flush(output.get()))
        return undo(output.get(), SystemError::fromErrno(error), written);
    return std::nullopt;
}

std::optional<RuntimeError> AppendingSave::undo(int file, const RuntimeError& cause, qint64 written) const
{
    struct stat now;
    if (PosixFile::status(file, now) != 0)
        return SystemError::mayEndWithPartOfLine(cause, m_target.shownPath());
    const qint64 oldSize = m_target.status().st_size;
    if (now.st_size == oldSize && written == 0)
        return cause;
    // Bytes beyond ours are another program's, and cutting the file back
    // would take them too.
    if (now.st_size != oldSize + written || PosixFile::truncate(file, oldSize) != 0)
        return SystemError::mayEndWithPartOfLine(cause, m_target.shownPath());
    PosixFile::flush(file);
    return cause;
}
