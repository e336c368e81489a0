#include "platform/MountTable.h"

#include "platform/RegularFile.h"

#include <QFile>

namespace {

// The table writes a space, tab, newline or backslash in a path as \ and
// three octal digits.
QString unescaped(QByteArrayView field)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool octal = false;
            const int code = field.sliced(i + 1, 3).toInt(&octal, 8);
            if (octal) {
                bytes += char(code);
                i += 3;
                continue;
            }
        }
        bytes += field[i];
    }
    return QFile::decodeName(bytes);
}

} // namespace

namespace MountTable {

QList<Mount> read()
{
    return parse(RegularFile::read(QStringLiteral("/proc/self/mountinfo"), 16 << 20));
}

QList<Mount> parse(const QByteArray& mountInfo)
{
    QList<Mount> mounts;
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (separator < 6 || separator + 2 >= fields.size())
            continue;
        mounts.append({unescaped(fields[4]), fields[separator + 1], unescaped(fields[separator + 2])});
    }
    return mounts;
}

} // namespace MountTable
