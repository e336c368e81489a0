#include "platform/FolderListing.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Why a folder cannot be listed; empty when it can. QDir::entryList says
// nothing of failures, so the checks come first.
QString whyUnreadable(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("it does not exist");
    if (!info.isDir())
        return QStringLiteral("it is not a folder");
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("you have no permission to read it");
    return {};
}

} // namespace

FolderListing FolderListing::subfolders(const QString& folder)
{
    return read(folder, QDir::Dirs | QDir::NoDotAndDotDot);
}

FolderListing FolderListing::files(const QString& folder)
{
    return read(folder, QDir::Files);
}

QString FolderListing::normalFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folder)).absolutePath());
}

FolderListing FolderListing::read(const QString& folder, int filters)
{
    FolderListing listing;
    const QString why = whyUnreadable(folder);
    if (!why.isEmpty()) {
        listing.m_problem = QStringLiteral("Could not open the folder \"%1\": %2.")
                                .arg(QDir::toNativeSeparators(folder), why);
        return listing;
    }
    listing.m_names = QDir(folder).entryList(QDir::Filters(filters), QDir::Name | QDir::IgnoreCase);
    return listing;
}
