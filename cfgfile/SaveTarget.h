#pragma once

#include "platform/FileDescriptor.h"
#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/stat.h>

// The file a save writes, found once: every link followed, its folder and the
// file itself held open, so that nothing later in the save looks the path up
// again or lands on another file by a changed link.
class SaveTarget
{
public:
    // `nativePath` as bytes, so that a name that is no valid text in any
    // encoding still names its file.
    std::optional<RuntimeError> open(const QByteArray& nativePath);

    // Takes the file's status afresh; the errno of a failure, or 0.
    int refreshStatus();

    int folder() const { return m_folder.get(); }
    int input() const { return m_input.get(); }
    const QByteArray& name() const { return m_name; }
    const struct stat& status() const { return m_status; }
    // The file's full path, for a message.
    QString shownPath() const;

    // Fails unless the file under its name still is the one read, with its
    // size and time.
    std::optional<RuntimeError> checkUnchanged() const;
    bool isUnchanged(const struct stat& now) const;

private:
    QByteArray m_folderPath;
    QByteArray m_name;
    FileDescriptor m_folder;
    FileDescriptor m_input;
    struct stat m_status {};
};
