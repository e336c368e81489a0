#include "cfgfile/ConfigLine.h"

namespace {
constexpr QChar quote(34);
}

QString MakeBindLine(const QString& key, const QString& command, const QString& text)
{
    return QStringLiteral("bind ") + key + QLatin1Char(' ') + command + QLatin1Char(' ') + quote + text + quote;
}

QString MakeNameLine(const QString& text)
{
    return QStringLiteral("seta name ") + quote + text + quote;
}
