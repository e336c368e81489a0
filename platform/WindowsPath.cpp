#include "platform/WindowsPath.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool entryExists(const QString& path)
{
    // A dangling link still is an entry with that exact name.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The name under which `folder` holds `name`: the exact one when it exists,
// else the first that differs only in case, else `name` itself so that the
// open reports what is missing.
QString matchingName(const QString& folder, const QString& name)
{
    if (name == u"." || name == u".." || entryExists(folder + u'/' + name))
        return name;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

namespace WindowsPath {

bool isWindowsForm(const QString& path)
{
    return path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && path[2] == u'\\';
}

std::optional<QString> toNative(const QString& typed, const WinePrefix& prefix)
{
    if (!isWindowsForm(typed))
        return typed;

    QString native = prefix.driveFolder(typed[0]);
    if (native.isEmpty())
        return std::nullopt;

    const QStringList components = typed.mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString& component : components)
        native += u'/' + matchingName(native, component);
    return native;
}

} // namespace WindowsPath
