#include "cfgfile/ReplacingSave.h"

#include "cfgfile/ChunkedRead.h"
#include "cfgfile/SaveTarget.h"
#include "platform/PosixFile.h"
#include "platform/SystemError.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>

namespace {

using Failure = std::optional<RuntimeError>;

constexpr qsizetype NameMax = 255;
// Long enough for an open that another process began before the swap, and
// that the scheduler set aside, to reach the lease; short beside the flush
// every save waits for.
constexpr int LateOpenPause = 3;
constexpr QByteArrayView Marker(".veltrane-");
constexpr qsizetype RandomLength = 8;
constexpr char RandomLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// A hidden name that fits whatever the file's own name is: as much of it as
// fits, then the marker and random letters. Leftovers are matched by exactly
// this pattern and nothing looser.
QByteArray temporaryPrefix(const QByteArray& fileName)
{
    return '.' + fileName.first(qMin(fileName.size(), NameMax - 1 - Marker.size() - RandomLength)) + Marker.toByteArray();
}

QByteArray temporaryName(const QByteArray& fileName)
{
    QByteArray name = temporaryPrefix(fileName);
    for (int i = 0; i < RandomLength; ++i)
        name += RandomLetters[QRandomGenerator::global()->bounded(int(sizeof RandomLetters - 1))];
    return name;
}

// Draws temporary names until `claim` takes one that no other file holds: a
// clash only means drawing again. Returns what `claim` last returned; once
// that is 0, `claimed` holds the name taken.
template <typename Claim>
int claimTemporaryName(const QByteArray& fileName, Claim claim, QByteArray& claimed)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        const QByteArray candidate = temporaryName(fileName);
        error = claim(candidate);
        if (!error)
            claimed = candidate;
    }
    return error;
}

bool isTemporaryName(const QByteArray& candidate, const QByteArray& prefix)
{
    if (candidate.size() != prefix.size() + RandomLength || !candidate.startsWith(prefix))
        return false;
    for (const char letter : candidate.sliced(prefix.size())) {
        if (!QByteArrayView(RandomLetters).contains(letter))
            return false;
    }
    return true;
}

// Failures that say this file cannot be replaced here, though it might be
// added to in place.
bool declines(int error)
{
    return error == EACCES || error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EBUSY
        || error == EROFS || error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// The new file's content, written in order: stretches of the old file as they
// are, and bytes gathered into chunks.
class NewContentWriter
{
public:
    NewContentWriter(int source, int target)
        : m_source(source)
        , m_target(target)
    {
        m_pending.reserve(ChunkSize * 2);
    }

    // The old file's bytes from `from` to `from + length`, as they are.
    Failure copy(qint64 from, qint64 length);

    Failure add(QByteArrayView bytes)
    {
        if (m_pending.isEmpty() && bytes.size() >= ChunkSize)
            return write(bytes);
        m_pending.append(bytes);
        return m_pending.size() >= ChunkSize ? writePending() : Failure{};
    }

    Failure finish() { return writePending(); }

private:
    std::optional<Failure> copyInKernel(qint64 from, qint64 length);
    Failure write(QByteArrayView bytes);
    Failure writePending();

    int m_source;
    int m_target;
    QByteArray m_pending;
    qint64 m_written = 0;
};

Failure NewContentWriter::copy(qint64 from, qint64 length)
{
    if (Failure failure = writePending())
        return failure;
    if (std::optional<Failure> outcome = copyInKernel(from, length))
        return *outcome;

    const qint64 end = from + length;
    Failure writeFailure;
    Failure readFailure = readChunks(m_source, from, end, [&](QByteArrayView piece, qint64 offset) {
        writeFailure = add(piece.first(qMin(piece.size(), qsizetype(end - offset))));
        return !writeFailure && offset + piece.size() < end;
    });
    return readFailure ? readFailure : writeFailure;
}

// Copies inside the kernel, as `cp` does, so that the bytes never pass through
// this process and a file system that shares extents shares them. Nothing
// when the file system cannot, and nothing was copied.
std::optional<Failure> NewContentWriter::copyInKernel(qint64 from, qint64 length)
{
    bool copiedAny = false;
    while (length > 0) {
        qint64 copied = 0;
        if (const int error = PosixFile::copyRange(m_source, from, m_target, m_written, length, copied)) {
            if (!copiedAny && (error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP))
                return std::nullopt;
            return SystemError::fromErrno(error);
        }
        if (copied == 0)
            return SystemError::changedMeanwhile();
        copiedAny = true;
        from += copied;
        length -= copied;
        m_written += copied;
    }
    return Failure{};
}

Failure NewContentWriter::write(QByteArrayView bytes)
{
    if (const int error = PosixFile::writeAt(m_target, bytes, m_written))
        return SystemError::fromErrno(error);
    m_written += bytes.size();
    return {};
}

Failure NewContentWriter::writePending()
{
    Failure failure = write(m_pending);
    m_pending.resize(0); // keeps its capacity, unlike clear()
    return failure;
}

ReplacingSave::Result failed(const Failure& failure)
{
    return {ReplacingSave::Outcome::Failed, failure};
}

} // namespace

ReplacingSave::ReplacingSave(const SaveTarget& target, const ConfigRewrite& rewrite, const QByteArray& encodedLine,
                             bool leased)
    : m_target(target)
    , m_scanned(rewrite)
    , m_encodedLine(encodedLine)
    , m_leased(leased)
{
}

ReplacingSave::~ReplacingSave()
{
    if (!m_temporaryName.isEmpty())
        PosixFile::remove(m_target.folder(), m_temporaryName);
}

void ReplacingSave::clearLeftovers(const SaveTarget& target)
{
    QList<QByteArray> names;
    if (PosixFile::namesIn(target.folder(), names) != 0)
        return;
    const QByteArray prefix = temporaryPrefix(target.name());
    for (const QByteArray& name : names) {
        if (isTemporaryName(name, prefix))
            PosixFile::remove(target.folder(), name);
    }
}

ReplacingSave::Result ReplacingSave::run()
{
    const auto declinedOrFailed = [](const RuntimeError& failure, int error) {
        return Result{declines(error) ? Outcome::Declined : Outcome::Failed, failure};
    };
    if (Failure failure = create())
        return {Outcome::Declined, failure};
    // A full disk or quota may still have room for the line alone.
    if (Failure failure = writeContent())
        return {failure->number == SystemError::fromErrno(ENOSPC).number ? Outcome::Declined : Outcome::Failed, failure};
    if (const int error = PosixFile::copyIdentity(m_target.status(), m_target.input(), m_file.get()))
        return declinedOrFailed(SystemError::fromErrno(error), error);
    // Only flushed content may take the name: after a crash the name must
    // not lead to a file whose bytes never reached the disk.
    if (const int error = PosixFile::flush(m_file.get()))
        return failed(SystemError::fromErrno(error));
    if (Failure failure = name())
        return failed(failure);
    return swap();
}

std::optional<RuntimeError> ReplacingSave::create()
{
    // An unnamed file vanishes by itself if the program dies while writing it.
    const int error = PosixFile::createUnnamed(m_target.folder(), m_file);
    if (!error) {
        m_unnamed = true;
        return std::nullopt;
    }
    if (error != EOPNOTSUPP && error != EISDIR && error != EINVAL)
        return SystemError::fromErrno(error);
    const auto createNamed = [&](const QByteArray& candidate) {
        return PosixFile::createNamed(m_target.folder(), candidate, m_file);
    };
    if (const int namedError = claimTemporaryName(m_target.name(), createNamed, m_temporaryName))
        return SystemError::fromErrno(namedError);
    return std::nullopt;
}

std::optional<RuntimeError> ReplacingSave::writeContent()
{
    NewContentWriter out(m_target.input(), m_file.get());
    const qint64 size = m_target.status().st_size;
    if (m_scanned.keepsOldBytes()) {
        if (Failure failure = out.copy(0, size))
            return failure;
        if (Failure failure = out.add(m_scanned.appendix()))
            return failure;
        return out.finish();
    }

    // The bytes up to the first change stay; the lone CR before it gets its
    // LF, and from there on the rest is rewritten as if the file began there.
    const qint64 firstChange = m_scanned.firstChange();
    if (Failure failure = out.copy(0, firstChange))
        return failure;
    if (Failure failure = out.add("\n"))
        return failure;
    ConfigRewrite rewrite(m_encodedLine);
    QByteArray rewritten;
    rewritten.reserve(ChunkSize * 2);
    Failure writeFailure;
    // Stretches without a lone CR are written as they were read. Each byte
    // from here on lies one further on than before, so no file system could
    // share the old blocks anyway.
    const auto rewritePiece = [&](QByteArrayView piece, qint64) {
        if (rewrite.keepsAsIs(piece)) {
            rewrite.scan(piece);
            writeFailure = out.add(piece);
        } else {
            rewritten.resize(0);
            rewrite.rewrite(piece, rewritten);
            writeFailure = out.add(rewritten);
        }
        return !writeFailure;
    };
    Failure readFailure = m_leased ? readMapped(m_target.input(), firstChange, size, rewritePiece)
                                   : readChunks(m_target.input(), firstChange, size, rewritePiece);
    if (readFailure)
        return readFailure;
    if (writeFailure)
        return writeFailure;
    rewritten.resize(0);
    rewrite.finish(rewritten);
    if (Failure failure = out.add(rewritten))
        return failure;
    return out.finish();
}

std::optional<RuntimeError> ReplacingSave::name()
{
    if (!m_unnamed)
        return std::nullopt;
    const auto giveName = [&](const QByteArray& candidate) {
        return PosixFile::giveName(m_file.get(), m_target.folder(), candidate);
    };
    if (const int error = claimTemporaryName(m_target.name(), giveName, m_temporaryName))
        return SystemError::fromErrno(error);
    return std::nullopt;
}

ReplacingSave::Result ReplacingSave::swap()
{
    const int folder = m_target.folder();
    if (m_leased && !PosixFile::holdsWriteLease(m_target.input()))
        return failed(SystemError::changedMeanwhile());
    if (Failure failure = m_target.checkUnchanged())
        return failed(failure);

    int error = PosixFile::exchange(folder, m_temporaryName, m_target.name());
    if (error == EINVAL || error == ENOSYS) {
        // A file system that cannot swap still renames in one step; the old
        // file is gone then, and the lease checked just now stands for it.
        error = PosixFile::rename(folder, m_temporaryName, m_target.name());
        if (!error) {
            m_temporaryName.clear();
            PosixFile::flush(folder);
            return {Outcome::Saved, std::nullopt};
        }
    }
    if (error)
        return {error == EBUSY ? Outcome::Declined : Outcome::Failed, SystemError::fromErrno(error)};

    // Whoever opened the old file since it was read would write into a file
    // about to be removed: give it its name back instead. An open that found
    // the old file just before the swap reaches the lease a moment later, so
    // the lease is looked at again after a pause that lets it get there.
    if (m_leased && (!PosixFile::holdsWriteLease(m_target.input())
                     || (PosixFile::pause(LateOpenPause), !PosixFile::holdsWriteLease(m_target.input())))) {
        if (PosixFile::exchange(folder, m_temporaryName, m_target.name()) == 0)
            return failed(SystemError::changedMeanwhile());
        // The new content stays in place, and the old file, with whatever
        // the other program wrote into it, keeps the temporary name.
        const QByteArray aside = m_temporaryName;
        m_temporaryName.clear();
        return failed(SystemError::savedBesideForeignChange(m_target.shownPath(), QFile::decodeName(aside)));
    }
    // The old content is gone once its name is; a failure here leaves it for
    // the next save to clear, and a folder that cannot be flushed does not
    // undo the swap.
    PosixFile::remove(folder, m_temporaryName);
    m_temporaryName.clear();
    PosixFile::flush(folder);
    return {Outcome::Saved, std::nullopt};
}
