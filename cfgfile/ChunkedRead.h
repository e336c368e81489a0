#pragma once

#include "platform/MappedWindow.h"
#include "platform/PosixFile.h"
#include "platform/RuntimeError.h"
#include "platform/SystemError.h"

#include <QByteArray>

#include <optional>

// Large enough that reading costs no more than copying, small enough that a
// save of any file needs only a few of them in memory.
constexpr qsizetype ChunkSize = 256 << 10;

// Feeds the file from `from` on to `consume` piece by piece, with each
// piece's offset, until it is read or `consume` has seen enough and returns
// false. Fails when the file ends anywhere but at `size`, since then someone
// else is writing it.
template <typename Consume>
std::optional<RuntimeError> readChunks(int file, qint64 from, qint64 size, Consume consume)
{
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    qint64 offset = from;
    for (;;) {
        qint64 count = 0;
        if (const int error = PosixFile::readAt(file, buffer.data(), buffer.size(), offset, count))
            return SystemError::fromErrno(error);
        if (count == 0)
            break;
        if (!consume(QByteArrayView(buffer.constData(), count), offset))
            return std::nullopt;
        offset += count;
    }
    if (offset != size)
        return SystemError::changedMeanwhile();
    return std::nullopt;
}

// As readChunks(), but seeing the file in place in the page cache, without
// copying it: most of what a save costs beyond the copy itself is reading
// the old bytes once. Only for a file under a lease, which keeps other
// programs from cutting it short under the mapping.
template <typename Consume>
std::optional<RuntimeError> readMapped(int file, qint64 from, qint64 size, Consume consume)
{
    constexpr qint64 Window = 1 << 20; // a multiple of any page size
    MappedWindow window;
    for (qint64 start = from - from % Window; start < size; start += Window) {
        if (const int error = window.map(file, start, qMin(Window, size - start)))
            return SystemError::fromErrno(error);
        const qint64 skipped = qMax(from - start, qint64(0));
        if (!consume(window.bytes().sliced(skipped), start + skipped))
            break;
    }
    return std::nullopt;
}
