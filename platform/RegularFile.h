#pragma once

#include <QByteArray>
#include <QString>

// Reads a launcher's settings or a process's entry in /proc: only ever a
// regular file, so that a FIFO or a device put in its place is never opened
// and nothing waits on a writer that never comes.
namespace RegularFile {

// At most `limit` bytes from the start; empty when the path names anything
// but a regular file or cannot be read.
QByteArray read(const QString& path, qsizetype limit);

} // namespace RegularFile
