#include "cfgfile/FilePath.h"

QString MakeFilePath(const QString& folder, const QString& fileName, QChar separator)
{
    if (folder.endsWith(separator))
        return folder + fileName;
    return folder + separator + fileName;
}
