#include "game/WindowsPath.h"

#include "game/CaseBlindFolders.h"

#include <QStringList>

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

    // A name that matches nothing is kept as typed, so that the open reports
    // what is missing.
    CaseBlindFolders folders;
    for (const QString& name : windowsComponents(QStringView(typed).sliced(3))) {
        const QString found = folders.child(native, name);
        native = found.isEmpty() ? CaseBlindFolders::joined(native, name) : found;
    }
    return native;
}

} // namespace WindowsPath
