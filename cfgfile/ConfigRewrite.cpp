#include "cfgfile/ConfigRewrite.h"

#include <QStringEncoder>

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

// The first CR that is neither followed by its LF nor the last byte, from
// `from` on; -1 when there is none.
qsizetype loneCrBeforeLast(QByteArrayView content, qsizetype from)
{
    for (qsizetype cr = content.indexOf('\r', from); cr >= 0 && cr + 1 < content.size(); cr = content.indexOf('\r', cr + 2)) {
        if (content[cr + 1] != '\n')
            return cr;
    }
    return -1;
}

// What follows the old content: the last line's end where it still lacks
// one, the empty line, the new line and its end.
QByteArray ending(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    QByteArray out;
    if (oldContent.endsWith('\r'))
        out += '\n';
    else if (!oldContent.isEmpty() && !oldContent.endsWith(CrLf))
        out += CrLf;
    return out + CrLf.toByteArray() + encodedLine.toByteArray() + CrLf.toByteArray();
}

} // namespace

namespace ConfigRewrite {

QByteArray encodeLine(const QString& line)
{
    QStringEncoder encoder = windows1252Encoder();
    Q_ASSERT_X(encoder.isValid(), "ConfigRewrite", "Qt was built without the Windows-1252 converter");
    QByteArray encoded = encoder.encode(line);
    if (encoder.hasError())
        return encodeOneByOne(line);
    return encoded;
}

std::optional<QByteArray> appendix(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    if (loneCrBeforeLast(oldContent, 0) >= 0)
        return std::nullopt;
    return ending(oldContent, encodedLine);
}

QByteArray rewriteAll(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    // Stretches up to a lone CR stay as they are; each lone CR gets its LF.
    QByteArray out;
    out.reserve(oldContent.size() + encodedLine.size() + 8);
    qsizetype kept = 0;
    for (qsizetype cr = loneCrBeforeLast(oldContent, 0); cr >= 0; cr = loneCrBeforeLast(oldContent, kept)) {
        out += oldContent.sliced(kept, cr + 1 - kept);
        out += '\n';
        kept = cr + 1;
    }
    const QByteArrayView rest = oldContent.sliced(kept);
    out += rest;
    return out + ending(rest.isEmpty() ? out : rest, encodedLine);
}

} // namespace ConfigRewrite
