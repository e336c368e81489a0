#pragma once

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
