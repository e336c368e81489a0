#include "cfgfile/ConfigRewrite.h"

#include <cstring>

namespace {

constexpr QByteArrayView CrLf("\r\n");

// The first CR that is neither followed by its LF nor the last byte, from
// `from` on; -1 when there is none. memchr, since a config of short lines
// holds a CR every few dozen bytes.
qsizetype loneCrBeforeLast(QByteArrayView content, qsizetype from)
{
    const char* const begin = content.data();
    const char* const last = begin + content.size() - 1;
    for (const char* cr = begin + from; cr < last; ++cr) {
        cr = static_cast<const char*>(std::memchr(cr, '\r', size_t(last - cr)));
        if (!cr)
            break;
        if (cr[1] != '\n')
            return cr - begin;
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
