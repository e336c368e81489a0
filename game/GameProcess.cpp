#include "game/GameProcess.h"

#include "platform/FolderListing.h"
#include "platform/RegularFile.h"

#include <algorithm>

namespace {

bool isGameExecutable(QByteArrayView name)
{
    return name.compare("sof2mp.exe", Qt::CaseInsensitive) == 0;
}

bool isNumber(const QString& name)
{
    return !name.isEmpty() && std::ranges::all_of(name, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

GameProcess::GameProcess(QString procRoot)
    : m_procRoot(std::move(procRoot))
{
}

bool GameProcess::isGame(QByteArrayView comm, QByteArrayView commandLine)
{
    if (comm.endsWith('\n'))
        comm.chop(1);
    if (isGameExecutable(comm))
        return true;
    const qsizetype end = commandLine.indexOf('\0');
    const QByteArrayView program = end < 0 ? commandLine : commandLine.first(end);
    const qsizetype separator = std::max(program.lastIndexOf('/'), program.lastIndexOf('\\'));
    return isGameExecutable(program.sliced(separator + 1));
}

bool GameProcess::isRunning() const
{
    // A process that has gone, or is not ours to read, reads as nothing.
    const QStringList entries = FolderListing::read(m_procRoot).names(FileStatus::Kind::Folder);
    return std::ranges::any_of(entries, [this](const QString& entry) {
        if (!isNumber(entry))
            return false;
        const QString process = m_procRoot + u'/' + entry;
        // The short name is at most 15 bytes and a newline; the executable's
        // path rarely passes a few hundred.
        const QByteArray comm = RegularFile::read(process + QStringLiteral("/comm"), 64);
        return isGame(comm, {}) || isGame(comm, RegularFile::read(process + QStringLiteral("/cmdline"), 4096));
    });
}
