#include "cfgfile/ConfigRewrite.h"

#include <cstring>

namespace {

constexpr QByteArrayView CrLf("\r\n");

// The first CR from `from` on that is neither followed by its LF nor the last
// byte, or -1. memchr, as a config holds a CR every few dozen bytes.
qsizetype loneCrBeforeLast(QByteArrayView content, qsizetype from)
{
    const char* const begin = content.data();
    const char* const last = begin + content.size() - 1;
    for (const char* cr = begin + from; cr < last; cr += 2) {
        cr = static_cast<const char*>(std::memchr(cr, '\r', size_t(last - cr)));
        if (!cr || cr[1] != '\n')
            return cr ? cr - begin : -1;
    }
    return -1;
}

// What follows old content ending in `end`: the last line's end where it
// still lacks one, the empty line, the new line and its end.
void appendEnding(QByteArray& out, QByteArrayView end, QByteArrayView encodedLine)
{
    if (end.endsWith('\r'))
        out += '\n';
    else if (!end.isEmpty() && !end.endsWith(CrLf))
        out += CrLf;
    out += CrLf;
    out += encodedLine;
    out += CrLf;
}

} // namespace

namespace ConfigRewrite {

std::optional<QByteArray> appendix(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    if (loneCrBeforeLast(oldContent, 0) >= 0)
        return std::nullopt;
    QByteArray out;
    appendEnding(out, oldContent, encodedLine);
    return out;
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
    out += oldContent.sliced(kept);
    appendEnding(out, out, encodedLine);
    return out;
}

} // namespace ConfigRewrite
