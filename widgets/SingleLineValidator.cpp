#include "widgets/SingleLineValidator.h"

QValidator::State SingleLineValidator::validate(QString& input, int& position) const
{
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
