#include "game/CaseBlindFolders.h"

QString CaseBlindFolders::child(const QString& folderPath, const QString& name)
{
    if (folderPath.isEmpty() || name.isEmpty())
        return {};
    const QString exact = joined(folderPath, name);
    if (FileStatus::ofEntry(exact).exists())
        return exact;
    Folder& cached = folder(folderPath);
    if (cached.byFolded.isEmpty()) {
        for (const FolderListing::Entry& entry : cached.listing.entries()) {
            QString& kept = cached.byFolded[entry.name.toCaseFolded()];
            if (kept.isEmpty() || entry.name < kept)
                kept = entry.name;
        }
    }
    const QString like = cached.byFolded.value(name.toCaseFolded());
    return like.isEmpty() ? QString() : joined(folderPath, like);
}

const FolderListing& CaseBlindFolders::listing(const QString& folderPath)
{
    return folder(folderPath).listing;
}

QString CaseBlindFolders::joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

CaseBlindFolders::Folder& CaseBlindFolders::folder(const QString& path)
{
    auto found = m_folders.find(path);
    if (found == m_folders.end())
        found = m_folders.insert(path, {FolderListing::read(path), {}});
    return *found;
}
