#include "platform/GameProcess.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// At most `limit` bytes of a process file; empty when the process has gone
// or is not ours to read.
QByteArray readProcFile(const QByteArray& path, qsizetype limit)
{
    QByteArray bytes(limit, Qt::Uninitialized);
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    qsizetype total = 0;
    while (total < limit) {
        const ssize_t count = ::read(descriptor, bytes.data() + total, limit - total);
        if (count <= 0)
            break;
        total += count;
    }
    ::close(descriptor);
    bytes.truncate(total);
    return bytes;
}

bool isGameExecutable(QByteArrayView name)
{
    return name.compare("sof2mp.exe", Qt::CaseInsensitive) == 0;
}

bool isNumber(const char* name)
{
    if (!*name)
        return false;
    for (; *name; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
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
    const QByteArray root = QFile::encodeName(m_procRoot);
    DIR* dir = ::opendir(root.constData());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isNumber(entry->d_name))
            continue;
        const QByteArray process = root + '/' + entry->d_name;
        // The short name is at most 15 bytes and a newline; the executable's
        // path rarely passes a few hundred.
        const QByteArray comm = readProcFile(process + "/comm", 64);
        if (isGame(comm, {}) || isGame(comm, readProcFile(process + "/cmdline", 4096))) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}
