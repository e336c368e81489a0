#include "cfgfile/ConfigSaver.h"
#include "platform/FileDescriptor.h"
#include "support/ConfigFiles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString ShortLine = QStringLiteral("seta name \"B\"");

QString longLine(qsizetype length)
{
    return QStringLiteral("seta name \"%1\"").arg(QString(length, QLatin1Char('Q')));
}

const QRegularExpression Leftover(QStringLiteral("^\\.sof2mp\\.cfg\\.veltrane-[a-z0-9]{8}$"));

// Runs a tool to its end; why it failed, or nothing. `output` gets what it
// printed.
QString runTool(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return ran ? QString() : program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError()) + process.errorString();
}

// A small file system of its own on a loop device, mounted for one test row
// and taken down again however the row ends.
class LoopFileSystem
{
public:
    LoopFileSystem(const QString& folder, const QString& type, qint64 size)
        : m_mountPoint(folder + QStringLiteral("/mnt"))
    {
        const QString image = folder + QStringLiteral("/image");
        QFile(image).open(QIODevice::WriteOnly);
        QDir().mkpath(m_mountPoint);
        const QStringList mkfs = type == QLatin1String("ext4") ? QStringList{QStringLiteral("-q"), QStringLiteral("-F")}
            : type == QLatin1String("btrfs") ? QStringList{QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("--mixed")}
                                             : QStringList{QStringLiteral("-q"), QStringLiteral("-f")};
        if (!QFile::resize(image, size))
            m_error = QStringLiteral("cannot make the image");
        else if ((m_error = runTool(QStringLiteral("mkfs.") + type, QStringList(mkfs) << image)).isEmpty()
                 && (m_error = runTool(QStringLiteral("losetup"), {QStringLiteral("--find"), QStringLiteral("--show"), image}, &m_device)).isEmpty())
            m_mounted = (m_error = runTool(QStringLiteral("mount"), {m_device, m_mountPoint})).isEmpty();
    }
    ~LoopFileSystem()
    {
        if (m_mounted)
            runTool(QStringLiteral("umount"), {QStringLiteral("-l"), m_mountPoint});
        if (m_device.startsWith(QLatin1String("/dev/")))
            runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_device});
    }
    LoopFileSystem(const LoopFileSystem&) = delete;
    LoopFileSystem& operator=(const LoopFileSystem&) = delete;

    QString error() const { return m_error; }
    QString mountPoint() const { return m_mountPoint; }

private:
    QString m_mountPoint;
    QString m_device;
    QString m_error;
    bool m_mounted = false;
};

// Takes all the room there is, in ever smaller pieces, allocated and then
// written, since a file system may keep back room from one but not the other.
void fillUp(const QString& path)
{
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    off_t size = 0;
    for (off_t piece = off_t(1) << 30; piece >= 4096; piece /= 2) {
        while (::fallocate(file, 0, size, piece) == 0)
            size += piece;
    }
    const QByteArray block(4096, 'x');
    for (bool flushed = false;;) {
        if (::pwrite(file, block.constData(), size_t(block.size()), size) == block.size()) {
            size += block.size();
            flushed = false;
        } else if (flushed || ::fsync(file) != 0) {
            break;
        } else {
            flushed = true;
        }
    }
    ::fsync(file);
    ::close(file);
}

enum class SaveCase { Kept, LoneCr, HeldOpen };

QByteArray oldContent(SaveCase saveCase, qsizetype size)
{
    return largeConfig(size, saveCase == SaveCase::LoneCr);
}

struct TracedSave
{
    int status = 0;
    bool stopped = false; // the k-th call came, and was struck
    QList<long> calls;
    QByteArray message;
};

// What a save may not be refused: the memory, signals and exit a process
// needs to carry on at all.
bool isSpared(long call)
{
    static const QList<long> spared{SYS_mmap,      SYS_munmap,      SYS_mremap, SYS_brk,       SYS_madvise, SYS_mprotect,
                                    SYS_exit,      SYS_exit_group,  SYS_futex,  SYS_getrandom, SYS_rt_sigaction,
                                    SYS_rt_sigprocmask};
    return spared.contains(call);
}

// Saves in a child traced system call by system call: at the entry of its
// `strikeAt`-th call the child is killed, or with `error` that call is
// skipped and fails with that error. Calls the save cannot do without are
// not counted then.
TracedSave traceSave(const QString& path, const QString& line, int strikeAt, int error)
{
    int messagePipe[2];
    if (::pipe2(messagePipe, O_CLOEXEC) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(messagePipe[0]);
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
        const QByteArray message = failure ? failure->message().toUtf8() : QByteArray();
        ::write(messagePipe[1], message.constData(), size_t(message.size()));
        ::_exit(failure ? 1 : 0);
    }
    ::close(messagePipe[1]);
    TracedSave traced;
    ::waitpid(child, &traced.status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int counted = 0;
    bool failing = false;
    int signal = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, signal);
        signal = 0;
        ::waitpid(child, &traced.status, 0);
        if (WIFEXITED(traced.status) || WIFSIGNALED(traced.status))
            break;
        if (WSTOPSIG(traced.status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(traced.status);
            continue;
        }
        __ptrace_syscall_info info{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info);
        user_regs_struct registers{};
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY) {
            if (failing) {
                ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
                registers.rax = -static_cast<unsigned long long>(error);
                ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
                failing = false;
            }
            continue;
        }
        const long call = long(info.entry.nr);
        traced.calls << call;
        if ((error && isSpared(call)) || ++counted != strikeAt)
            continue;
        traced.stopped = true;
        if (!error) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &traced.status, 0);
            break;
        }
        ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
        registers.orig_rax = static_cast<unsigned long long>(-1);
        ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
        failing = true;
    }
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(messagePipe[0], buffer, sizeof buffer)) > 0)
        traced.message.append(buffer, count);
    ::close(messagePipe[0]);
    return traced;
}

// Appends "foreign <n>" lines, one a millisecond, until the test closes
// its end of `stop`.
pid_t startForeignWriter(const QString& path, bool keepsOpen, const int (&stop)[2])
{
    const pid_t child = ::fork();
    if (child != 0) {
        ::close(stop[0]);
        return child;
    }
    ::close(stop[1]);
    const QByteArray nativePath = QFile::encodeName(path);
    int file = keepsOpen ? ::open(nativePath.constData(), O_WRONLY | O_APPEND | O_CLOEXEC) : -1;
    for (int n = 0;; ++n) {
        pollfd stopped{stop[0], POLLIN, 0};
        if (::poll(&stopped, 1, 0) > 0)
            ::_exit(0);
        if (!keepsOpen)
            file = ::open(nativePath.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        const QByteArray line = "foreign " + QByteArray::number(n) + "\r\n";
        if (::write(file, line.constData(), size_t(line.size())) != line.size())
            ::_exit(2);
        if (!keepsOpen)
            ::close(file);
        ::usleep(1000);
    }
}

} // namespace

class TestSaveUnderAttack : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void fullDiskKeepsOldBytes_data();
    void fullDiskKeepsOldBytes();
    void struckAtEverySystemCall_data();
    void struckAtEverySystemCall();
    void foreignLinesSurviveSaves_data();
    void foreignLinesSurviveSaves();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestSaveUnderAttack::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestSaveUnderAttack::fullDiskKeepsOldBytes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("quota");
    QTest::addColumn<SaveCase>("saveCase");
    QTest::addColumn<QString>("line");

    constexpr qint64 MiB = 1 << 20;
    const struct {
        const char* name;
        const char* type;
        qint64 size;
        bool quota;
    } fileSystems[] = {{"ext4", "ext4", 32 * MiB, false},
                       {"xfs", "xfs", 320 * MiB, false},
                       {"btrfs", "btrfs", 128 * MiB, false},
                       {"btrfs quota", "btrfs", 128 * MiB, true}};
    const std::pair<const char*, SaveCase> cases[] = {
        {"replaced", SaveCase::Kept}, {"lone CR", SaveCase::LoneCr}, {"held open, in place", SaveCase::HeldOpen}};
    for (const auto& fileSystem : fileSystems) {
        for (const auto& [caseName, saveCase] : cases) {
            for (const auto& [lineName, line] : {std::pair{"short", ShortLine}, std::pair{"long", longLine(40000)}}) {
                QTest::addRow("%s, %s, %s line", fileSystem.name, caseName, lineName)
                    << QString::fromLatin1(fileSystem.type) << fileSystem.size << fileSystem.quota << saveCase << line;
            }
        }
    }
}

void TestSaveUnderAttack::fullDiskKeepsOldBytes()
{
    QFETCH(QString, type);
    QFETCH(qint64, size);
    QFETCH(bool, quota);
    QFETCH(SaveCase, saveCase);
    QFETCH(QString, line);

    if (::geteuid() != 0)
        QSKIP("mounting a file system image needs root");
    const LoopFileSystem fileSystem(m_folder->path(), type, size);
    if (!fileSystem.error().isEmpty())
        QSKIP(qPrintable(QStringLiteral("cannot mount a %1 image: %2").arg(type, fileSystem.error())));
    QString folder = fileSystem.mountPoint();
    if (quota) {
        folder += QStringLiteral("/limited");
        for (const QStringList& step : {QStringList{QStringLiteral("subvolume"), QStringLiteral("create"), folder},
                                        QStringList{QStringLiteral("quota"), QStringLiteral("enable"), fileSystem.mountPoint()},
                                        QStringList{QStringLiteral("qgroup"), QStringLiteral("limit"), QStringLiteral("1M"), folder}}) {
            const QString error = runTool(QStringLiteral("btrfs"), step);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
    }
    const QString path = folder + QStringLiteral("/sof2mp.cfg");
    const QByteArray old = oldContent(saveCase, 3000);
    writeFile(path, old);
    if (quota) {
        writeFile(folder + QStringLiteral("/filler"), QByteArray(1000 * 1000, 'x'));
        ::sync();
    } else {
        fillUp(folder + QStringLiteral("/filler"));
    }
    FileDescriptor heldOpen;
    if (saveCase == SaveCase::HeldOpen)
        heldOpen = FileDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    const QStringList entriesBefore = entriesOf(folder);

    const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
    if (line.size() > 1000)
        QVERIFY2(failure, "the disk was not full");
    if (failure) {
        QCOMPARE(failure->message(), QStringLiteral("61, Disk full"));
        QCOMPARE(readFile(path), old);
    } else {
        QCOMPARE(readFile(path), bytesAfterSave(old, line));
    }
    QCOMPARE(entriesOf(folder), entriesBefore);
}

void TestSaveUnderAttack::struckAtEverySystemCall_data()
{
    QTest::addColumn<SaveCase>("saveCase");
    QTest::addColumn<int>("error");

    const std::pair<const char*, SaveCase> cases[] = {
        {"replaced", SaveCase::Kept}, {"lone CR", SaveCase::LoneCr}, {"held open, in place", SaveCase::HeldOpen}};
    for (const auto& [name, saveCase] : cases) {
        QTest::addRow("%s, killed", name) << saveCase << 0;
        QTest::addRow("%s, I/O error", name) << saveCase << EIO;
        QTest::addRow("%s, disk full", name) << saveCase << ENOSPC;
    }
}

void TestSaveUnderAttack::struckAtEverySystemCall()
{
    QFETCH(SaveCase, saveCase);
    QFETCH(int, error);
#ifndef __x86_64__
    QSKIP("failing a system call is written for x86-64 registers");
#endif
    const QString path = m_folder->filePath(QStringLiteral("sof2mp.cfg"));
    const QByteArray old = oldContent(saveCase, 600 << 10);
    const QString line = longLine(3'000'000);
    const QByteArray saved = bytesAfterSave(old, line);

    for (int strikeAt = 1;; ++strikeAt) {
        writeFile(path, old);
        FileDescriptor heldOpen;
        if (saveCase == SaveCase::HeldOpen)
            heldOpen = FileDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
        const TracedSave traced = traceSave(path, line, strikeAt, error);
        const QString where = QStringLiteral("struck at call %1 (%2)").arg(strikeAt).arg(traced.calls.value(traced.calls.size() - 1));
        const QByteArray now = readFile(path);
        QVERIFY2(now == old || now == saved, qPrintable(where));
        if (WIFEXITED(traced.status)) {
            // A failure reported means nothing was written; success means all.
            QVERIFY2((WEXITSTATUS(traced.status) == 0) == (now == saved), qPrintable(where + QString::fromUtf8(traced.message)));
        }
        QStringList leftovers = entriesOf(m_folder->path()).filter(Leftover);
        QVERIFY2(leftovers.size() <= 1, qPrintable(where));
        QCOMPARE(entriesOf(m_folder->path()).size(), 1 + leftovers.size());
        if (!leftovers.isEmpty()) {
            QCOMPARE(ConfigSaver().addLine(path, ShortLine), std::nullopt);
            QVERIFY2(entriesOf(m_folder->path()).filter(Leftover).isEmpty(), qPrintable(where));
        }
        if (!traced.stopped) {
            QCOMPARE(now, saved);
            // The new file is flushed after it is written and before it takes
            // a name, or a crash could leave the name on bytes never written.
            const QList<long>& calls = traced.calls;
            qsizetype named = calls.size();
            for (const long call : {SYS_linkat, SYS_renameat2})
                named = calls.contains(call) ? qMin(named, calls.indexOf(call)) : named;
            QCOMPARE(named == calls.size(), saveCase == SaveCase::HeldOpen);
            qsizetype written = named;
            while (written > 0 && !QList<long>{SYS_pwrite64, SYS_copy_file_range, SYS_fchmod, SYS_fsetxattr}.contains(calls[written - 1]))
                --written;
            QVERIFY(saveCase == SaveCase::HeldOpen || calls.mid(written, named - written).contains(SYS_fsync));
            break;
        }
    }
}

void TestSaveUnderAttack::foreignLinesSurviveSaves_data()
{
    QTest::addColumn<bool>("keepsOpen");
    QTest::newRow("writer keeps the file open") << true;
    QTest::newRow("writer opens the file for each line") << false;
}

void TestSaveUnderAttack::foreignLinesSurviveSaves()
{
    QFETCH(bool, keepsOpen);
    const QString path = m_folder->filePath(QStringLiteral("sof2mp.cfg"));
    writeFile(path, {});
    int stop[2];
    QCOMPARE(::pipe2(stop, O_CLOEXEC), 0);
    const pid_t writer = startForeignWriter(path, keepsOpen, stop);
    while (QFileInfo(path).size() == 0)
        ::usleep(100);

    QList<bool> saved;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000) {
        const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, QStringLiteral("seta name \"save %1\"").arg(saved.size()));
        if (failure)
            QCOMPARE(failure->message(), QStringLiteral("75, File was changed by another program while saving"));
        saved << !failure;
    }
    ::close(stop[1]);
    int status = 0;
    ::waitpid(writer, &status, 0);
    QCOMPARE(status, 0);

    // Every line whole and in its place: the foreign ones all, in order,
    // and of the saves exactly those that said they succeeded.
    int nextForeign = 0;
    QList<bool> found(saved.size(), false);
    const QList<QByteArray> lines = readFile(path).split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray line = lines[i];
        QVERIFY2(line.endsWith('\r'), line.constData());
        const QByteArray text = line.chopped(1);
        if (text.isEmpty())
            continue;
        if (text.startsWith("foreign ")) {
            QCOMPARE(text, "foreign " + QByteArray::number(nextForeign++));
        } else {
            bool isNumber = false;
            const int save = text.mid(16, text.size() - 17).toInt(&isNumber);
            QVERIFY2(isNumber && text == "seta name \"save " + QByteArray::number(save) + '"', text.constData());
            QVERIFY(!found[save]);
            found[save] = true;
        }
    }
    QCOMPARE(lines.last(), QByteArray());
    QCOMPARE(found, saved);
    QVERIFY(saved.contains(true));
}

QTEST_GUILESS_MAIN(TestSaveUnderAttack)
#include "TestSaveUnderAttack.moc"
