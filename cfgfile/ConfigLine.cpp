#include "cfgfile/ConfigLine.h"

#include <QStringEncoder>

namespace {

constexpr QChar quote(34);

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

QString MakeBindLine(const QString& key, const QString& command, const QString& text)
{
    return QStringLiteral("bind ") + key + QLatin1Char(' ') + command + QLatin1Char(' ') + quote + text + quote;
}

QString MakeNameLine(const QString& text)
{
    return QStringLiteral("seta name ") + quote + text + quote;
}

QByteArray encodeConfigLine(const QString& line)
{
    QStringEncoder encoder = windows1252Encoder();
    Q_ASSERT_X(encoder.isValid(), "encodeConfigLine", "Qt was built without the Windows-1252 converter");
    QByteArray encoded = encoder.encode(line);
    if (encoder.hasError())
        return encodeOneByOne(line);
    return encoded;
}
