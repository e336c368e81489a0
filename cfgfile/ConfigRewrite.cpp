#include "cfgfile/ConfigRewrite.h"

#include <QStringEncoder>

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr QByteArrayView CrLf("\r\n");

// Stateless, so that a lone surrogate at the end counts as a failed
// character instead of waiting for a next call that never comes.
QStringEncoder windows1252Encoder()
{
    return QStringEncoder("windows-1252", QStringConverter::Flag::Stateless);
}

QByteArray encodeOneByOne(QStringView line)
{
    // The converter marks a character it cannot hold with its own
    // substitute; the player's text may hold that very byte as a symbol,
    // so only a failed character becomes "?".
    QByteArray encoded;
    for (qsizetype i = 0; i < line.size();) {
        const qsizetype length = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2 : 1;
        QStringEncoder encoder = windows1252Encoder();
        const QByteArray character = encoder.encode(line.mid(i, length));
        encoded += encoder.hasError() ? QByteArray("?") : character;
        i += length;
    }
    return encoded;
}

} // namespace

ConfigRewrite::ConfigRewrite(QByteArray encodedLine)
    : m_encodedLine(std::move(encodedLine))
{
}

QByteArray ConfigRewrite::encodeLine(const QString& line)
{
    QStringEncoder encoder = windows1252Encoder();
    Q_ASSERT_X(encoder.isValid(), "ConfigRewrite", "Qt was built without the Windows-1252 converter");
    QByteArray encoded = encoder.encode(line);
    if (encoder.hasError())
        return encodeOneByOne(line);
    return encoded;
}

QByteArray ConfigRewrite::rewriteAll(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    ConfigRewrite rewrite(encodedLine.toByteArray());
    QByteArray out;
    out.reserve(oldContent.size() + encodedLine.size() + 8);
    rewrite.rewrite(oldContent, out);
    rewrite.finish(out);
    return out;
}

// Bytes up to a CR LF come back as they are, so they are passed on in runs
// as long as possible; only a lone CR, or one whose LF is still to come in
// the next piece, ends a run.
template <typename Output>
void ConfigRewrite::process(QByteArrayView piece, Output output)
{
    const char* next = piece.data();
    const char* const end = next + piece.size();
    while (next < end) {
        if (m_pendingCr) {
            m_pendingCr = false;
            m_atLineStart = true;
            output(CrLf);
            if (*next == '\n') {
                ++next;
                continue;
            }
            if (!m_changesOldBytes)
                m_firstChange = m_seen + (next - piece.data());
            m_changesOldBytes = true;
        }
        const char* runEnd = next;
        const char* cr = nullptr;
        while ((cr = static_cast<const char*>(std::memchr(runEnd, '\r', end - runEnd)))) {
            if (cr + 1 == end || cr[1] != '\n')
                break;
            runEnd = cr + 2;
        }
        runEnd = cr ? cr : end;
        if (runEnd > next) {
            output(QByteArrayView(next, runEnd - next));
            m_atLineStart = runEnd - next >= 2 && runEnd[-2] == '\r' && runEnd[-1] == '\n';
        }
        if (!cr)
            break;
        m_pendingCr = true;
        next = cr + 1;
    }
    m_seen += piece.size();
}

// Whether a CR before the last byte lacks its LF, checked 64 bytes at a time
// where the processor allows: a scan of a large file that changes nothing
// would otherwise cost more than copying the file.
static bool hasLoneCrBeforeLast(QByteArrayView piece)
{
    const char* const bytes = piece.data();
    const qsizetype checked = piece.size() - 1; // each byte looks at the next
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto loneAt = [&](qsizetype at) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 1));
        return _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr));
    };
    for (; i + 64 <= checked; i += 64) {
        const __m128i lone = _mm_or_si128(_mm_or_si128(loneAt(i), loneAt(i + 16)), _mm_or_si128(loneAt(i + 32), loneAt(i + 48)));
        if (_mm_movemask_epi8(lone))
            return true;
    }
#endif
    for (; i < checked; ++i) {
        if (bytes[i] == '\r' && bytes[i + 1] != '\n')
            return true;
    }
    return false;
}

void ConfigRewrite::scan(QByteArrayView piece)
{
    if (m_pendingCr || piece.size() < 2 || hasLoneCrBeforeLast(piece)) {
        process(piece, [](QByteArrayView) {});
        return;
    }
    // As process() would leave it: a final CR waits for the next piece, and
    // what comes before it ends a line if it ends with CR LF.
    const QByteArrayView run = piece.endsWith('\r') ? piece.chopped(1) : piece;
    m_pendingCr = run.size() < piece.size();
    m_atLineStart = run.endsWith(CrLf);
    m_seen += piece.size();
}

bool ConfigRewrite::keepsAsIs(QByteArrayView piece) const
{
    return !m_pendingCr && !piece.isEmpty() && !piece.endsWith('\r') && !hasLoneCrBeforeLast(piece);
}

void ConfigRewrite::rewrite(QByteArrayView piece, QByteArray& out)
{
    process(piece, [&out](QByteArrayView bytes) { out.append(bytes); });
}

void ConfigRewrite::finish(QByteArray& out)
{
    if (m_pendingCr || !m_atLineStart)
        out += CrLf;
    m_pendingCr = false;
    m_atLineStart = true;
    out += CrLf;
    out += m_encodedLine;
    out += CrLf;
}

QByteArray ConfigRewrite::appendix() const
{
    // A final CR already stands in the file; only its LF is missing.
    QByteArray out;
    if (m_pendingCr)
        out += '\n';
    else if (!m_atLineStart)
        out += CrLf;
    out += CrLf;
    out += m_encodedLine;
    out += CrLf;
    return out;
}
