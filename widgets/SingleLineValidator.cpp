#include "widgets/SingleLineValidator.h"

QValidator::State SingleLineValidator::validate(QString& input, int& position) const
{
    Q_UNUSED(position);
    // Runs on every keystroke; a text without a break is not even copied.
    if (input.contains(u'\r') || input.contains(u'\n')) {
        input.replace(u'\r', u' ');
        input.replace(u'\n', u' ');
    }
    return Acceptable;
}
