#include "cfgfile/ConfigRewrite.h"

#include <QStringEncoder>

#include <cstring>

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
}

void ConfigRewrite::scan(QByteArrayView piece)
{
    process(piece, [](QByteArrayView) {});
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
