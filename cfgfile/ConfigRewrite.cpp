#include "cfgfile/ConfigRewrite.h"

#include <algorithm>

namespace ConfigRewrite {

QList<QByteArrayView> stretches(QByteArrayView oldContent)
{
    // A config holds a CR every few dozen bytes, so each block is first looked
    // over whole, in a loop the compiler turns into vector instructions, and
    // only a block that holds a lone CR is gone through byte by byte.
    constexpr qsizetype Block = 1 << 16;
    QList<QByteArrayView> found;
    const char* const bytes = oldContent.data();
    const char* start = bytes;
    const qsizetype last = oldContent.size() - 1;
    for (qsizetype from = 0; from < last; from += Block) {
        const qsizetype to = std::min(from + Block, last);
        int lone = 0;
        for (qsizetype i = from; i < to; ++i)
            lone |= (bytes[i] == '\r') & (bytes[i + 1] != '\n');
        for (qsizetype i = from; lone && i < to; ++i) {
            if (bytes[i] == '\r' && bytes[i + 1] != '\n') {
                found.append(QByteArrayView(start, bytes + i + 1));
                start = bytes + i + 1;
            }
        }
    }
    found.append(QByteArrayView(start, oldContent.data() + oldContent.size()));
    return found;
}

QByteArray ending(QByteArrayView oldContent, QByteArrayView encodedLine)
{
    QByteArray out;
    if (oldContent.endsWith('\r'))
        out += '\n';
    else if (!oldContent.isEmpty() && !oldContent.endsWith("\r\n"))
        out += "\r\n";
    return out + "\r\n" + encodedLine.toByteArray() + "\r\n";
}

} // namespace ConfigRewrite
