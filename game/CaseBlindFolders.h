#pragma once

#include "platform/FolderListing.h"

#include <QHash>
#include <QString>

// Names as Wine finds them: the exact name when the folder holds it, else one
// that differs only in case. Each folder is listed at most once for as long
// as this lives, so a long path or a search that keeps coming back to one big
// folder never lists it twice.
class CaseBlindFolders
{
public:
    // The entry `name` of `folder` as a full path: the exact name when it
    // exists (a stat, with no listing), else of those that differ only in
    // case the first in code-point order, so that the choice does not depend
    // on how the file system orders its entries. Empty when there is none.
    QString child(const QString& folder, const QString& name);

    const FolderListing& listing(const QString& folder);

    static QString joined(const QString& folder, const QString& name);

private:
    struct Folder
    {
        FolderListing listing;
        QHash<QString, QString> byFolded; // filled at the first miss
    };

    Folder& folder(const QString& path);

    QHash<QString, Folder> m_folders;
};
