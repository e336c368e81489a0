#pragma once

#include <QChar>
#include <QDir>
#include <QString>

// The full path of a file picked in a folder: the folder, one separator and
// the name. A root folder already ends with the separator, so none is added
// there. The separator is compared exactly, as one character.
QString MakeFilePath(const QString& folder, const QString& fileName, QChar separator = QDir::separator());
