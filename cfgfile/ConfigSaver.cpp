#include "cfgfile/ConfigSaver.h"

#include "cfgfile/AppendingSave.h"
#include "cfgfile/ChunkedRead.h"
#include "cfgfile/ConfigRewrite.h"
#include "cfgfile/ReplacingSave.h"
#include "cfgfile/SaveTarget.h"
#include "platform/PosixFile.h"
#include "platform/SystemError.h"
#include "platform/WindowsPath.h"

#include <QFile>

#include <cerrno>

namespace {

using Failure = std::optional<RuntimeError>;

bool grantsWrite(const struct stat& status)
{
    return status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH);
}

// Why a new file in the old one's place would differ from it in more than
// its content; nothing when it would not.
Failure whyNotReplace(const SaveTarget& target)
{
    const struct stat& status = target.status();
    if (status.st_nlink > 1)
        return SystemError::hasOtherNames();
    if (PosixFile::isMountRoot(target.input()))
        return SystemError::mountedOver();
    if (!PosixFile::canGiveOwnership(status))
        return SystemError::cannotKeepOwner();
    if (const int error = PosixFile::mayWrite(target.folder(), "."))
        return SystemError::fromErrno(error);
    return std::nullopt;
}

Failure saveTo(SaveTarget& target, const QByteArray& encodedLine)
{
    // The mode is the player's word that the file stays as it is, even where
    // the system would let the superuser write it.
    if (!grantsWrite(target.status()))
        return SystemError::permissionDenied();
    if (const int error = PosixFile::mayWrite(target.folder(), target.name()))
        return SystemError::fromErrno(error);

    // Replacing is the way that survives a kill at any instant; adding in
    // place is what is left when replacing would change what the file is,
    // or when another program has it open and could write to it meanwhile.
    Failure cannotReplace = whyNotReplace(target);
    bool leased = false;
    if (!cannotReplace) {
        const int error = PosixFile::takeWriteLease(target.input());
        leased = !error;
        if (error == EAGAIN)
            cannotReplace = SystemError::openElsewhere();
        if (leased) {
            // What was written before the lease is part of the old content.
            if (const int statusError = target.refreshStatus())
                return SystemError::fromErrno(statusError);
        }
    }
    ReplacingSave::clearLeftovers(target);

    ConfigRewrite rewrite(encodedLine);
    const auto scan = [&rewrite](QByteArrayView piece, qint64) {
        rewrite.scan(piece);
        return rewrite.keepsOldBytes();
    };
    const qint64 size = target.status().st_size;
    if (Failure failure = leased ? readMapped(target.input(), 0, size, scan) : readChunks(target.input(), 0, size, scan))
        return failure;

    // Without a lease (where the file system grants none) the file is
    // replaced only when nothing else can save the line.
    if (!cannotReplace && (leased || !rewrite.keepsOldBytes())) {
        ReplacingSave::Result result = ReplacingSave(target, rewrite, encodedLine, leased).run();
        if (result.outcome != ReplacingSave::Outcome::Declined)
            return result.failure;
        cannotReplace = result.failure;
    }
    // A change in the middle cannot be made in place, and splitting the file
    // from its other names or its mount would lose it.
    if (!rewrite.keepsOldBytes())
        return cannotReplace;
    // Opening the file again would break the lease.
    if (leased)
        PosixFile::dropLease(target.input());
    return AppendingSave(target, rewrite.appendix()).run();
}

} // namespace

ConfigSaver::ConfigSaver(WinePrefix prefix)
    : m_prefix(std::move(prefix))
{
}

std::optional<RuntimeError> ConfigSaver::addLine(const QString& typedPath, const QString& line) const
{
    PosixFile::ignoreSignalsThatStopASave();
    // A line break would make the line two console commands, the second
    // one run at the next start of the game.
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
        return SystemError::lineBreakInLine();
    const std::optional<QString> path = WindowsPath::toNative(typedPath, m_prefix);
    if (!path)
        return SystemError::pathNotFound();

    SaveTarget target;
    if (Failure failure = target.open(QFile::encodeName(*path)))
        return failure;
    return saveTo(target, ConfigRewrite::encodeLine(line));
}
