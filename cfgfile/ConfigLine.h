#pragma once

#include <QByteArray>
#include <QString>

// The two console lines a save can add, composed from the window's fields
// exactly as given: no trimming, no escaping, no checks. No line terminator.

// bind <key> <command> "<text>"
QString MakeBindLine(const QString& key, const QString& command, const QString& text);

// seta name "<text>"
QString MakeNameLine(const QString& text);

// The line as the file holds it: Windows-1252, "?" for a character that
// Windows-1252 cannot hold.
QByteArray encodeConfigLine(const QString& line);
