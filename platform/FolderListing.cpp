#include "platform/FolderListing.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <cerrno>
#include <dirent.h>
#include <unistd.h>

namespace {

QString whyUnreadable(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("it does not exist");
    case ENOTDIR:
        return QStringLiteral("it is not a folder");
    case EACCES:
    case EPERM:
        return QStringLiteral("you have no permission to read it");
    }
    return qt_error_string(error);
}

// Most file systems say what an entry is; a link, and an entry on one that
// does not say, cost a stat.
FileStatus::Kind kindOf(const dirent& entry, const QString& path)
{
    switch (entry.d_type) {
    case DT_DIR:
        return FileStatus::Kind::Folder;
    case DT_REG:
        return FileStatus::Kind::File;
    case DT_LNK:
    case DT_UNKNOWN:
        return FileStatus::of(path).kind();
    }
    return FileStatus::Kind::Other;
}

} // namespace

FolderListing FolderListing::read(const QString& folder)
{
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = ::opendir(encoded.constData());
    // A folder that may be listed but not entered is no use to anyone.
    const int error = !dir ? errno : ::access(encoded.constData(), X_OK) != 0 ? errno : 0;
    if (error) {
        if (dir)
            ::closedir(dir);
        FolderListing listing = unreadable(folder, whyUnreadable(error));
        listing.m_missing = error == ENOENT;
        return listing;
    }
    FolderListing listing;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    while (const dirent* entry = ::readdir(dir)) {
        if (qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        listing.m_entries.append({name, kindOf(*entry, prefix + name)});
    }
    ::closedir(dir);
    std::ranges::sort(listing.m_entries, [](const Entry& a, const Entry& b) {
        const int blind = a.name.compare(b.name, Qt::CaseInsensitive);
        return blind != 0 ? blind < 0 : a.name < b.name;
    });
    return listing;
}

FolderListing FolderListing::readPromptly(const QString& folder)
{
    // Long enough for a cold disk to list a big folder or a share to wake;
    // a folder that took longer lists at once when asked again.
    constexpr std::chrono::milliseconds Patience{1000};
    auto listing = std::make_shared<std::packaged_task<FolderListing()>>([folder] { return read(folder); });
    std::future<FolderListing> result = listing->get_future();
    std::thread([listing] { (*listing)(); }).detach();
    if (result.wait_for(Patience) != std::future_status::ready)
        return unreadable(folder, QStringLiteral("it does not answer"));
    return result.get();
}

FolderListing FolderListing::unreadable(const QString& folder, const QString& why)
{
    FolderListing listing;
    listing.m_problem = QStringLiteral("Could not open the folder \"%1\": %2.").arg(QDir::toNativeSeparators(folder), why);
    return listing;
}

QStringList FolderListing::names(FileStatus::Kind kind, bool hidden) const
{
    QStringList names;
    for (const Entry& entry : m_entries) {
        if (entry.kind == kind && (hidden || !entry.name.startsWith(u'.')))
            names.append(entry.name);
    }
    return names;
}

QString FolderListing::normalFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folder)).absolutePath());
}

bool FolderListing::holds(const QString& root, const QString& folder)
{
    return folder == root || folder.startsWith(root.endsWith(u'/') ? root : root + u'/');
}
