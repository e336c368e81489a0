#pragma once

#include "platform/RuntimeError.h"

#include <QByteArrayView>

#include <optional>

class SaveTarget;

// The new bytes added to the end of the file itself, which keeps its inode
// and with it owner, mode, links, ACLs and whatever mounts it. Always at the
// end as the file is at that instant, so a line another program appends
// meanwhile is never written over.
//
// Room is reserved before anything is written, so a full disk or a quota
// fails with the file untouched. A write failing after that cuts the file
// back; only when that cannot be done is the file left longer, and the
// failure says so.
class AppendingSave
{
public:
    AppendingSave(const SaveTarget& target, QByteArrayView appendix);

    std::optional<RuntimeError> run() const;

private:
    std::optional<RuntimeError> undo(int file, const RuntimeError& cause, qint64 written) const;

    const SaveTarget& m_target;
    QByteArrayView m_appendix;
};
