#include "cfgfile/ConfigRewrite.h"

#include <cstring>

namespace ConfigRewrite {

QList<QByteArrayView> stretches(QByteArrayView oldContent)
{
    // memchr, as a config holds a CR every few dozen bytes.
    QList<QByteArrayView> found;
    const char* const end = oldContent.data() + oldContent.size();
    const char* start = oldContent.data();
    for (const char* next = start; next + 1 < end;) {
        const char* const cr = static_cast<const char*>(std::memchr(next, '\r', size_t(end - 1 - next)));
        if (!cr)
            break;
        next = cr + 1;
        if (*next == '\n') {
            ++next;
        } else {
            found.append(QByteArrayView(start, next));
            start = next;
        }
    }
    found.append(QByteArrayView(start, end));
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
