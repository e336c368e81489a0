#include "platform/RegularFile.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

QByteArray read(const QString& path, qsizetype limit)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat before{};
    if (::stat(encoded.constData(), &before) != 0 || !S_ISREG(before.st_mode))
        return {};
    // Not waiting, and checked again once open: the name may have been
    // given to a FIFO in between.
    const FileDescriptor file(::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened{};
    if (file.get() < 0 || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return {};
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype total = 0;
    while (total < limit) {
        const ssize_t count = ::read(file.get(), bytes.data() + total, limit - total);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        total += count;
    }
    bytes.truncate(total);
    return bytes;
}

} // namespace RegularFile
