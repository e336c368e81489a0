#pragma once

#include <QString>
#include <QStringList>

// The names in one folder as the folder and file lists show them: hidden
// entries left out, sorted without regard to case. A folder that cannot be
// read gives no names but the reason, for the player to see.
class FolderListing
{
public:
    static FolderListing subfolders(const QString& folder);
    static FolderListing files(const QString& folder);

    bool isReadable() const { return m_problem.isEmpty(); }
    const QStringList& names() const { return m_names; }

    // "Could not open the folder "<folder>": <why>." Empty when it was read.
    QString problem() const { return m_problem; }

    // The form the lists keep a folder in: absolute, no "." or "..", and a
    // closing separator only on a root.
    static QString normalFolder(const QString& folder);

private:
    static FolderListing read(const QString& folder, int filters);

    QStringList m_names;
    QString m_problem;
};
