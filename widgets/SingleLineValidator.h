#pragma once

#include <QValidator>

// A one-line field never holds a line break: the game reads its config one
// line at a time, so a break inside a field would split the saved command in
// two. Each CR and each LF that arrives, pasted, dropped or set, becomes one
// space, so the text keeps its length and the caret stays where it was. A
// NUL, where the game would stop reading the line, is dropped.
class SingleLineValidator : public QValidator
{
    Q_OBJECT

public:
    // With `dropsFinalBreaks`, breaks at the end of the text are dropped
    // instead: a path copied from a terminal comes with one.
    explicit SingleLineValidator(QObject* parent = nullptr, bool dropsFinalBreaks = false);

    State validate(QString& input, int& position) const override;

private:
    bool m_dropsFinalBreaks;
};
