#pragma once

#include <QString>

// A failure as the player sees it: the classic runtime's error number and its
// description. Carried as a value from where it happens to the one place that
// shows it.
struct RuntimeError
{
    // The number a save reports when the folder named in the path is missing;
    // the save's handler shows its own message for it.
    static constexpr int PathNotFound = 76;

    int number = 0;
    QString description;

    // "53, File not found"
    QString message() const { return QString::number(number) + QStringLiteral(", ") + description; }

    friend bool operator==(const RuntimeError&, const RuntimeError&) = default;
};
