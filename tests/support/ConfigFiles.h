#pragma once

#include "cfgfile/ConfigRewrite.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

// Files and folders as the save tests set them up and read them back, by
// bytes, so that what a save did is compared exactly.

inline QByteArray bytesAfterSave(const QByteArray& old, const QString& line)
{
    return ConfigRewrite::rewriteAll(old, ConfigRewrite::encodeLine(line));
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Many short CR LF lines, and with `loneCr` one old Mac line end near the
// start, so that the line ends have to change in the middle of the file.
inline QByteArray largeConfig(qsizetype size, bool loneCr)
{
    QByteArray bytes = loneCr ? QByteArray("seta old \"1\"\r") : QByteArray();
    while (bytes.size() < size)
        bytes += "bind KP_5 Say \"^1hello\"\r\n";
    return bytes;
}
