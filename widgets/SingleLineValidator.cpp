#include "widgets/SingleLineValidator.h"

SingleLineValidator::SingleLineValidator(QObject* parent, bool dropsFinalBreaks)
    : QValidator(parent)
    , m_dropsFinalBreaks(dropsFinalBreaks)
{
}

QValidator::State SingleLineValidator::validate(QString& input, int& position) const
{
    const auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
    while (m_dropsFinalBreaks && !input.isEmpty() && isBreak(input.back()))
        input.chop(1);
    position = qMin(position, int(input.size()));
    // Runs on every keystroke; a text without a break or a NUL is not even copied.
    if (input.contains(u'\r') || input.contains(u'\n')) {
        input.replace(u'\r', u' ');
        input.replace(u'\n', u' ');
    }
    // The game reads a NUL as the end of the line, so one that arrives is dropped.
    for (qsizetype at = input.indexOf(QChar(0)); at >= 0; at = input.indexOf(QChar(0), at)) {
        input.remove(at, 1);
        if (at < position)
            --position;
    }
    return Acceptable;
}
