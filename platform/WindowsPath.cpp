#include "platform/WindowsPath.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

// Windows drops trailing spaces and dots from a name ("base. " is "base"),
// but "." and ".." keep their meaning.
QString windowsName(const QString& component)
{
    qsizetype end = component.size();
    while (end > 0 && component[end - 1] == u' ')
        --end;
    const QStringView spaced = QStringView(component).first(end);
    if (spaced == u"." || spaced == u"..")
        return spaced.toString();
    while (end > 0 && (component[end - 1] == u' ' || component[end - 1] == u'.'))
        --end;
    return component.first(end);
}

// The names as Windows reads the path after "X:": "." and ".." resolved,
// and ".." never climbing above the drive's root, as on Windows itself.
QStringList windowsComponents(QStringView afterDrive)
{
    QStringList names;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= afterDrive.size(); ++i) {
        if (i < afterDrive.size() && !isSeparator(afterDrive[i]))
            continue;
        const QString name = windowsName(afterDrive.mid(start, i - start).toString());
        start = i + 1;
        if (name.isEmpty() || name == u".")
            continue;
        if (name == u"..") {
            if (!names.isEmpty())
                names.removeLast();
            continue;
        }
        names.append(name);
    }
    return names;
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// A dangling link still is an entry with that exact name.
bool entryExists(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Each folder's entries by their case-folded name, read at most once per
// path: a long path that keeps coming back to one big folder must not list
// it again for every component.
class CaseBlindFolders
{
public:
    // The entry of `folder` that differs from `name` only in case; of several,
    // the first in code-point order, so the choice does not depend on how the
    // file system happens to order its entries. Empty when there is none.
    QString entryLike(const QString& folder, const QString& name)
    {
        auto found = m_folders.constFind(folder);
        if (found == m_folders.constEnd())
            found = m_folders.insert(folder, read(folder));
        return found->value(name.toCaseFolded());
    }

private:
    static QHash<QString, QString> read(const QString& folder)
    {
        QHash<QString, QString> byFolded;
        DIR* dir = ::opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return byFolded;
        while (const dirent* entry = ::readdir(dir)) {
            const QString name = QFile::decodeName(entry->d_name);
            if (name == u"." || name == u"..")
                continue;
            QString& kept = byFolded[name.toCaseFolded()];
            if (kept.isEmpty() || name < kept)
                kept = name;
        }
        ::closedir(dir);
        return byFolded;
    }

    QHash<QString, QHash<QString, QString>> m_folders;
};

} // namespace

namespace WindowsPath {

bool isWindowsForm(const QString& path)
{
    return path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && isSeparator(path[2]);
}

std::optional<QString> toNative(const QString& typed, const WinePrefix& prefix)
{
    if (!isWindowsForm(typed))
        return typed;

    QString native = prefix.driveFolder(typed[0]);
    if (native.isEmpty())
        return std::nullopt;

    // The exact name costs one stat; only a miss reads the folder, and a name
    // that matches nothing is kept as typed, so that the open reports what is missing.
    CaseBlindFolders folders;
    for (const QString& name : windowsComponents(QStringView(typed).sliced(3))) {
        const QString exact = joined(native, name);
        if (entryExists(exact)) {
            native = exact;
            continue;
        }
        const QString like = folders.entryLike(native, name);
        native = like.isEmpty() ? exact : joined(native, like);
    }
    return native;
}

} // namespace WindowsPath
