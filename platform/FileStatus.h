#pragma once

#include <QDateTime>
#include <QString>

#include <utility>

struct stat;

// What one path names, found with one stat: its kind, its identity and its
// last change. Names are encoded as the file system holds them.
class FileStatus
{
public:
    enum class Kind { Missing, Folder, File, Link, Other }; // Missing: the stat failed; Other: a FIFO, device or socket

    // Through every link, as an open would see it.
    static FileStatus of(const QString& path);
    // The entry itself: a link is a Link, even one that leads nowhere.
    static FileStatus ofEntry(const QString& path);
    // Through every link, from what the system already holds, without asking
    // the file system: a network share or FUSE server that stopped answering
    // is still told apart from a file. Only kind and identity are meant.
    static FileStatus cached(const QString& path);

    Kind kind() const { return m_kind; }
    // Why the stat failed (an errno value), or 0.
    int error() const { return m_error; }
    bool exists() const { return m_kind != Kind::Missing; }
    bool isFolder() const { return m_kind == Kind::Folder; }
    bool isFile() const { return m_kind == Kind::File; }

    // The same for every name of one file, links included.
    std::pair<quint64, quint64> identity() const { return m_identity; }
    // In UTC: only ever compared.
    QDateTime modified() const;

    // What a link says, as it says it; empty for anything but a link.
    static QString linkTarget(const QString& link);
    // The path with every link followed and no "." or ".."; empty when
    // something on the way is missing.
    static QString canonicalPath(const QString& path);

private:
    static FileStatus read(const QString& path, int (*statCall)(const char*, struct stat*));

    Kind m_kind = Kind::Missing;
    int m_error = 0;
    std::pair<quint64, quint64> m_identity{};
    qint64 m_modifiedMSecs = 0;
};
