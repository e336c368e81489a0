#pragma once

#include "platform/FileStatus.h"

#include <QList>
#include <QString>
#include <QStringList>

// The one way a folder is read, for the lists and for the search alike: each
// entry's name and kind, a link taken for what it leads to, sorted without
// regard to case. A folder that cannot be read gives no entries but the
// reason, for the player to see.
class FolderListing
{
public:
    struct Entry
    {
        QString name;
        FileStatus::Kind kind; // never Link: a link leading nowhere is Missing
    };

    static FolderListing read(const QString& folder);
    // As the window reads a folder: on a thread of its own, given up after
    // a moment when the folder does not answer (a stalled share or FUSE
    // server), so that the window never waits on it. The thread is left to
    // end whenever the folder answers.
    static FolderListing readPromptly(const QString& folder);

    bool isReadable() const { return m_problem.isEmpty(); }
    // The folder is not there (any more).
    bool isMissing() const { return m_missing; }
    const QList<Entry>& entries() const { return m_entries; }
    // The names of the entries of one kind; `hidden` keeps those that start
    // with a dot, which the lists leave out.
    QStringList names(FileStatus::Kind kind, bool hidden = true) const;

    // "Could not open the folder "<folder>": <why>." Empty when it was read.
    QString problem() const { return m_problem; }

    // The form the lists keep a folder in: absolute, no "." or "..", and a
    // closing separator only on a root.
    static QString normalFolder(const QString& folder);
    // Whether `folder` is `root` or lies inside it, both in that form.
    static bool holds(const QString& root, const QString& folder);

private:
    static FolderListing unreadable(const QString& folder, const QString& why);

    QList<Entry> m_entries;
    QString m_problem;
    bool m_missing = false;
};
