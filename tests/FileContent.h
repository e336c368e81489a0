#pragma once
// Whole files read and written in one go, for the tests that set up configs and check them.
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

// A FIFO would block the reader: only a regular file is read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
