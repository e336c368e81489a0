#include "cfgfile/ConfigSaver.h"
#include "platform/FileDescriptor.h"
#include "cfgfile/ConfigRewrite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

inline QByteArray bytesAfterSave(const QByteArray& old, const QString& line)
{
    return ConfigRewrite::rewriteAll(old, ConfigRewrite::encodeLine(line));
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Many short CR LF lines, and with `loneCr` one old Mac line end near the
// start, so that the line ends have to change in the middle of the file.
inline QByteArray largeConfig(qsizetype size, bool loneCr)
{
    QByteArray bytes = loneCr ? QByteArray("seta old \"1\"\r") : QByteArray();
    while (bytes.size() < size)
        bytes += "bind KP_5 Say \"^1hello\"\r\n";
    return bytes;
}

const QString Line = QStringLiteral("seta name \"B\"");

// What a save killed half way may leave behind.
const QRegularExpression Leftover(QStringLiteral("^\\.sof2mp\\.cfg\\.veltrane-[a-z0-9]{8}$"));

QString longLine(qsizetype length)
{
    return QStringLiteral("seta name \"%1\"").arg(QString(length, QLatin1Char('Q')));
}

// Runs a shell script in `folder` to its end; why it failed, or nothing.
QString runScript(const QString& folder, const QString& script)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("sh"), {QStringLiteral("-ec"), script});
    const bool ran = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ran ? QString() : script + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError());
}

struct ChildSave
{
    int error = -1; // the number the player is shown, 0 when saved, -1 when the child did not end by itself,
                    // PartOfLineLeft when told the file may now end with part of the line
    bool struck = false; // the strikeAt-th call came, and was struck
    QList<long> calls;
};

// Saves in a child process, so that limits, identities and strikes hit it
// and not the test. With `strikeAt` the child is traced system call by
// system call: at the entry of its strikeAt-th call it is killed, or with
// `error` that call is skipped and fails with that error, and so does every
// cut back after it with `noCutBack`, as on a full copy-on-write file system.
// Calls a process cannot carry on without (memory, signals, exit) are not counted then.
constexpr int PartOfLineLeft = 200;
template <typename Prepare>
ChildSave saveInChild(const QString& path, const QString& line, Prepare prepare, int strikeAt = 0, int error = 0,
                      bool noCutBack = false)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (!prepare() || (strikeAt && (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || ::raise(SIGSTOP) != 0)))
            ::_exit(255);
        const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
        ::_exit(!failure ? 0 : failure->description.contains(QLatin1String("part of the new line")) ? PartOfLineLeft : failure->number);
    }
    static const QList<long> spared{SYS_mmap, SYS_munmap, SYS_mremap, SYS_brk, SYS_madvise, SYS_mprotect, SYS_exit,
                                    SYS_exit_group, SYS_futex, SYS_getrandom, SYS_rt_sigaction, SYS_rt_sigprocmask};
    ChildSave save;
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    bool failing = false;
    for (int counted = 0, signal = 0; strikeAt && !WIFEXITED(status) && !WIFSIGNALED(status);) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, signal);
        ::waitpid(child, &status, 0);
        signal = WIFSTOPPED(status) && WSTOPSIG(status) != (SIGTRAP | 0x80) ? WSTOPSIG(status) : 0;
        if (!WIFSTOPPED(status) || signal)
            continue;
        __ptrace_syscall_info info{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info);
        user_regs_struct registers{};
        ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY) {
            if (std::exchange(failing, false)) {
                registers.rax = -static_cast<unsigned long long>(error);
                ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
            }
            continue;
        }
        save.calls << long(info.entry.nr);
        const bool cutBack = noCutBack && save.struck && info.entry.nr == SYS_ftruncate;
        if (!cutBack && ((error && spared.contains(save.calls.last())) || ++counted != strikeAt))
            continue;
        save.struck = true;
        if (!error) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        registers.orig_rax = static_cast<unsigned long long>(-1);
        ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
        failing = true;
    }
    save.error = WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
    return save;
}

// What the file is beyond its bytes: mode, owner, names, whether a link
// leads to it, and every extended attribute, ACLs among them.
QByteArray whatTheFileIs(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    ::stat(native.constData(), &status);
    QByteArray what = QByteArray::number(status.st_mode, 8) + ' ' + QByteArray::number(status.st_uid) + ':'
        + QByteArray::number(status.st_gid) + " names " + QByteArray::number(status.st_nlink)
        + (QFileInfo(path).isSymLink() ? " linked" : "");
    QByteArray names(4096, '\0');
    names.truncate(qMax<ssize_t>(::listxattr(native.constData(), names.data(), size_t(names.size())), 0));
    for (const QByteArray& name : names.split('\0')) {
        QByteArray value(4096, '\0');
        value.truncate(qMax<ssize_t>(::getxattr(native.constData(), name.constData(), value.data(), size_t(value.size())), 0));
        what += ' ' + name + '=' + value.toHex();
    }
    return what;
}

enum class SaveCase { Kept, LoneCr, HeldOpen };

} // namespace

class TestConfigSaver : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void savesOrSaysWhy_data();
    void savesOrSaysWhy();
    void fullDiskKeepsOldBytes_data();
    void fullDiskKeepsOldBytes();
    void struckAtEverySystemCall_data();
    void struckAtEverySystemCall();
    void foreignLinesSurviveSaves_data();
    void foreignLinesSurviveSaves();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestConfigSaver::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
}

void TestConfigSaver::savesOrSaysWhy_data()
{
    QTest::addColumn<QString>("setup"); // a script run as root in the file's folder
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<qint64>("sizeLimit"); // -1: none
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("error"); // the number shown, 0: saved

    const QByteArray kept("a\r\n");
    const QByteArray loneCr("a\rb\0\xff\x1a", 6);
    QTest::newRow("CR LF lines, added in place") << "" << false << kept << -1ll << Line << 0;
    QTest::newRow("lone CR, rewritten") << "" << false << loneCr << -1ll << Line << 0;
    // A large file is read and copied in pieces; where a lone CR falls among
    // them must not matter.
    const QByteArray large = largeConfig(1 << 20, false);
    for (const qsizetype at : {qsizetype(256 << 10) - 1, qsizetype(256 << 10), qsizetype(256 << 10) + 1, large.size() - 3})
        QTest::addRow("lone CR at %lld of a large file", qlonglong(at)) << "" << false << QByteArray(large).replace(at, 1, "\r")
                                                                        << -1ll << Line << 0;
    // A full disk, a quota and a size limit all stop a write part way; the
    // size limit can be set exactly where it hurts, and its signal must not
    // end the program.
    const qint64 keptSize = bytesAfterSave(kept, Line).size();
    const qint64 loneCrSize = bytesAfterSave(loneCr, Line).size();
    QTest::newRow("size limit a byte short, in place") << "" << false << kept << keptSize - 1 << Line << 61;
    QTest::newRow("size limit a byte short, rewritten") << "" << false << loneCr << loneCrSize - 1 << Line << 61;
    QTest::newRow("size limit just enough") << "" << false << loneCr << loneCrSize << Line << 0;

    QTest::newRow("hard link, added in place") << "ln sof2mp.cfg ../other-name.cfg" << false << kept << -1ll << Line << 0;
    QTest::newRow("hard link, line ends to change") << "ln sof2mp.cfg ../other-name.cfg" << false << loneCr << -1ll << Line << 75;
    QTest::newRow("link to a name that is not UTF-8") << "name=$(printf 'real\\377.cfg'); mv sof2mp.cfg $name; ln -s $name sof2mp.cfg"
                                                      << false << loneCr << -1ll << Line << 0;
    QTest::newRow("link to a name of 255 bytes") << "mv sof2mp.cfg $(printf '%0251d' 0 | tr 0 n).cfg; ln -s n*.cfg sof2mp.cfg"
                                                 << false << loneCr << -1ll << Line << 0;
    QTest::newRow("leftovers of a killed save") << "echo >.sof2mp.cfg.veltrane-mine; echo >.sof2mp.cfg.veltrane-k3x9q0zz"
                                                << false << loneCr << -1ll << Line << 0;
    QTest::newRow("owned by nobody") << "chmod 604 sof2mp.cfg; chown nobody: sof2mp.cfg" << false << loneCr << -1ll << Line << 0;
    QTest::newRow("read-only file, as root") << "chmod 444 sof2mp.cfg" << false << kept << -1ll << Line << 70;
    QTest::newRow("folder not writable") << "chown nobody: sof2mp.cfg; chmod 555 ." << true << kept << -1ll << Line << 0;
    QTest::newRow("folder not writable, line ends to change") << "chown nobody: sof2mp.cfg; chmod 555 ." << true << loneCr << -1ll
                                                              << Line << 70;
    QTest::newRow("group-writable file of another user") << "chown root:$(id -gn nobody) sof2mp.cfg; chmod 664 sof2mp.cfg; chmod 777 ."
                                                         << true << kept << -1ll << Line << 0;
    QTest::newRow("bind-mounted file") << "cp sof2mp.cfg ../elsewhere.cfg; mount --bind ../elsewhere.cfg sof2mp.cfg" << false << kept
                                       << -1ll << Line << 0;
    QTest::newRow("LF in the line") << "" << false << kept << -1ll << QStringLiteral("seta name \"a\nquit\"") << 5;
    QTest::newRow("CR in the line") << "" << false << kept << -1ll << QStringLiteral("seta name \"a\rquit\"") << 5;
}

void TestConfigSaver::savesOrSaysWhy()
{
    QFETCH(QString, setup);
    QFETCH(bool, asNobody);
    QFETCH(QByteArray, old);
    QFETCH(qint64, sizeLimit);
    QFETCH(QString, line);
    QFETCH(int, error);

    const passwd* nobody = ::getpwnam("nobody");
    if (asNobody && (::geteuid() != 0 || !nobody))
        QSKIP("needs root and a user nobody");
    QCOMPARE(::chmod(QFile::encodeName(m_folder->path()).constData(), 0755), 0);
    const QString game = m_folder->filePath(QStringLiteral("game"));
    QVERIFY(QDir().mkdir(game));
    const QString path = game + QStringLiteral("/sof2mp.cfg");
    const QByteArray nativePath = QFile::encodeName(path);
    const auto unmount = qScopeGuard([&] { ::umount2(nativePath.constData(), MNT_DETACH); });
    writeFile(path, old);
    // Every file carries an attribute and an ACL, as the kernel stores it:
    // owner rw, user 12345 r, group rw, mask r, others none.
    const QByteArray acl
        = QByteArray::fromHex("02000000 01000600ffffffff 0200040039300000 04000600ffffffff 10000400ffffffff 20000000ffffffff");
    ::setxattr(nativePath.constData(), "user.veltrane", "kept", 4, 0);
    ::setxattr(nativePath.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0);
    if (const QString error = runScript(game, setup); !error.isEmpty())
        QSKIP(qPrintable(error));
    QStringList entries = entriesOf(game);
    const QByteArray what = whatTheFileIs(path);

    QCOMPARE(saveInChild(path, line, [asNobody, nobody, sizeLimit] {
        const rlimit fileSize{rlim_t(sizeLimit), rlim_t(sizeLimit)};
        return (sizeLimit < 0 || ::setrlimit(RLIMIT_FSIZE, &fileSize) == 0)
            && (!asNobody || (::setgroups(0, nullptr) == 0 && ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) == 0
                              && ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) == 0));
    }).error, error);
    QCOMPARE(readFile(path), error ? old : bytesAfterSave(old, line));
    QCOMPARE(whatTheFileIs(path), what);
    // What a killed save left is cleared away, and nothing else.
    entries.removeIf([](const QString& name) { return Leftover.match(name).hasMatch(); });
    QCOMPARE(entriesOf(game), entries);
}

void TestConfigSaver::fullDiskKeepsOldBytes_data()
{
    QTest::addColumn<QString>("makeFileSystem"); // on the file "image"
    QTest::addColumn<bool>("quota");
    QTest::addColumn<SaveCase>("saveCase");
    QTest::addColumn<QString>("line");

    // Each file system runs out of room its own way: ext4 at the flush, xfs
    // with room set aside, btrfs with copies of its own, a quota sooner.
    const QString ext4 = QStringLiteral("truncate -s 32M image; mkfs.ext4 -q -F image");
    const QString xfs = QStringLiteral("truncate -s 320M image; mkfs.xfs -q -f image");
    const QString btrfs = QStringLiteral("truncate -s 128M image; mkfs.btrfs -q -f --mixed image");
    const QString line = longLine(40000);
    QTest::newRow("ext4, replaced") << ext4 << false << SaveCase::Kept << line;
    QTest::newRow("ext4, held open") << ext4 << false << SaveCase::HeldOpen << line;
    QTest::newRow("ext4, held open, short line") << ext4 << false << SaveCase::HeldOpen << Line;
    QTest::newRow("xfs, held open") << xfs << false << SaveCase::HeldOpen << line;
    QTest::newRow("btrfs, replaced") << btrfs << false << SaveCase::Kept << line;
    QTest::newRow("btrfs quota, lone CR") << btrfs << true << SaveCase::LoneCr << line;
    QTest::newRow("btrfs quota, held open") << btrfs << true << SaveCase::HeldOpen << line;
}

void TestConfigSaver::fullDiskKeepsOldBytes()
{
    QFETCH(QString, makeFileSystem);
    QFETCH(bool, quota);
    QFETCH(SaveCase, saveCase);
    QFETCH(QString, line);

    if (::geteuid() != 0)
        QSKIP("mounting a file system image needs root");
    const auto unmount = qScopeGuard([this] { runScript(m_folder->path(), QStringLiteral("umount -l mnt")); });
    const QString error = runScript(m_folder->path(), makeFileSystem + "; mkdir mnt; mount -o loop image mnt; mkdir mnt/game");
    if (!error.isEmpty())
        QSKIP(qPrintable(error));
    const QString folder = m_folder->filePath(QStringLiteral("mnt/game"));
    if (quota)
        QCOMPARE(runScript(folder + "/..", "rmdir game; btrfs subvolume create game; btrfs quota enable .; btrfs qgroup limit 1M game"),
                 QString());
    const QString path = folder + QStringLiteral("/sof2mp.cfg");
    const QByteArray old = largeConfig(3000, saveCase == SaveCase::LoneCr);
    writeFile(path, old);
    // All the room there is, in ever smaller pieces, allocated and then
    // written, since a file system may keep back room from one but not the
    // other; under a quota what the quota leaves.
    const QString fillDisk = QStringLiteral("touch filler; for piece in $(seq 30 -1 12); do"
                                            " while fallocate -o $(stat -c %s filler) -l $((1 << piece)) filler; do :; done; done;"
                                            " cat /dev/zero >>filler || sync; cat /dev/zero >>filler || sync");
    QCOMPARE(runScript(folder, quota ? QStringLiteral("head -c 1000000 /dev/zero >filler; sync") : fillDisk), QString());
    const FileDescriptor heldOpen(saveCase == SaveCase::HeldOpen ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)
                                                                       : -1);
    const QStringList entries = entriesOf(folder);

    const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
    QVERIFY2(failure || line.size() < 1000, "the disk was not full");
    if (failure)
        QCOMPARE(failure->message(), QStringLiteral("61, Disk full"));
    QCOMPARE(readFile(path), failure ? old : bytesAfterSave(old, line));
    QCOMPARE(entriesOf(folder), entries);
}

void TestConfigSaver::struckAtEverySystemCall_data()
{
    QTest::addColumn<SaveCase>("saveCase");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("noCutBack");

    const std::pair<const char*, SaveCase> cases[] = {
        {"replaced", SaveCase::Kept}, {"lone CR", SaveCase::LoneCr}, {"held open, in place", SaveCase::HeldOpen}};
    for (const auto& [name, saveCase] : cases) {
        QTest::addRow("%s, killed", name) << saveCase << 0 << false;
        QTest::addRow("%s, I/O error", name) << saveCase << EIO << false;
        QTest::addRow("%s, disk full", name) << saveCase << ENOSPC << false;
    }
    QTest::newRow("held open, in place, disk full, no room to cut back") << SaveCase::HeldOpen << ENOSPC << true;
}

void TestConfigSaver::struckAtEverySystemCall()
{
    QFETCH(SaveCase, saveCase);
    QFETCH(int, error);
    QFETCH(bool, noCutBack);
#ifndef __x86_64__
    QSKIP("failing a system call is written for x86-64 registers");
#endif
    const QString path = m_folder->filePath(QStringLiteral("sof2mp.cfg"));
    const QByteArray old = largeConfig(600 << 10, saveCase == SaveCase::LoneCr);
    const QString line = longLine(3'000'000);
    const QByteArray saved = bytesAfterSave(old, line);

    for (int strikeAt = 1;; ++strikeAt) {
        writeFile(path, old);
        const FileDescriptor heldOpen(saveCase == SaveCase::HeldOpen ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)
                                                                       : -1);
        const ChildSave save = saveInChild(path, line, [] { return true; }, strikeAt, error, noCutBack);
        const QString where = QStringLiteral("struck at call %1 (%2) ").arg(strikeAt).arg(save.calls.value(save.calls.size() - 1));
        const QByteArray now = readFile(path);
        // Only a player told so may find part of the line at the end.
        QVERIFY2(now == old || now == saved || save.error == PartOfLineLeft, qPrintable(where));
        // A failure reported means nothing was written; success means all.
        QVERIFY2(save.error < 0 || save.error == PartOfLineLeft || (save.error == 0) == (now == saved), qPrintable(where + QString::number(save.error)));
        // A new file left under its temporary name is cleared away by the
        // next save.
        const QStringList leftovers = entriesOf(m_folder->path()).filter(Leftover);
        QVERIFY2(leftovers.size() <= 1, qPrintable(where));
        QCOMPARE(entriesOf(m_folder->path()).size(), 1 + leftovers.size());
        if (!leftovers.isEmpty()) {
            QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
            QVERIFY2(entriesOf(m_folder->path()).filter(Leftover).isEmpty(), qPrintable(where));
        }
        if (!save.struck) {
            QCOMPARE(now, saved);
            // The new file is flushed after it is written and before it takes
            // a name, or a crash could leave the name on bytes never written.
            const QList<long>& calls = save.calls;
            const auto naming = [](long call) { return call == SYS_linkat || call == SYS_renameat2; };
            const qsizetype named = std::ranges::find_if(calls, naming) - calls.begin();
            QCOMPARE(named == calls.size(), saveCase == SaveCase::HeldOpen);
            qsizetype written = named;
            const QList<long> writing{SYS_pwrite64, SYS_copy_file_range, SYS_fchmod, SYS_fsetxattr};
            while (written > 0 && !writing.contains(calls[written - 1]))
                --written;
            QVERIFY(named == calls.size() || calls.mid(written, named - written).contains(SYS_fsync));
            break;
        }
    }
}

void TestConfigSaver::foreignLinesSurviveSaves_data()
{
    QTest::addColumn<QString>("appendLine");
    QTest::newRow("writer keeps the file open") << QStringLiteral("exec 3>>sof2mp.cfg; appendLine() { printf \"$1\" >&3; }");
    QTest::newRow("writer opens the file for each line") << QStringLiteral("appendLine() { printf \"$1\" >>sof2mp.cfg; }");
}

void TestConfigSaver::foreignLinesSurviveSaves()
{
    // Another program appends "foreign <n>" lines, one a millisecond, until
    // told to stop.
    QFETCH(QString, appendLine);
    const QString path = m_folder->filePath(QStringLiteral("sof2mp.cfg"));
    writeFile(path, {});
    QProcess writer;
    writer.setWorkingDirectory(m_folder->path());
    writer.start(QStringLiteral("sh"), {QStringLiteral("-ec"), appendLine + QStringLiteral("; n=0; while [ ! -e stop ]; do"
        " appendLine \"foreign $n\\r\\n\"; n=$((n + 1)); sleep 0.001; done")});
    while (QFileInfo(path).size() == 0)
        ::usleep(100);

    QList<bool> saved;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000) {
        const QString line = QStringLiteral("seta name \"save %1\"").arg(saved.size());
        const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
        if (failure)
            QCOMPARE(failure->message(), QStringLiteral("75, File was changed by another program while saving"));
        saved << !failure;
    }
    writeFile(m_folder->filePath(QStringLiteral("stop")), {});
    QVERIFY(writer.waitForFinished(10000) && writer.exitCode() == 0);

    // Every line whole and in its place: the foreign ones all, in order,
    // and of the saves exactly those that said they succeeded.
    QByteArray content = readFile(path);
    QVERIFY(content.endsWith("\r\n") && content.count("\r\n") == content.count('\r') && content.count('\r') == content.count('\n'));
    content.replace("\r\n", "\n");
    int nextForeign = 0;
    QList<bool> found(saved.size(), false);
    for (const QByteArray& text : content.chopped(1).split('\n')) {
        if (text.startsWith("foreign ")) {
            QCOMPARE(text, "foreign " + QByteArray::number(nextForeign++));
        } else if (!text.isEmpty()) {
            const int save = text.mid(16, text.size() - 17).toInt();
            QCOMPARE(text, "seta name \"save " + QByteArray::number(save) + '"');
            QVERIFY(!std::exchange(found[save], true));
        }
    }
    QCOMPARE(found, saved);
    QVERIFY(saved.contains(true));
}

QTEST_GUILESS_MAIN(TestConfigSaver)
#include "TestConfigSaver.moc"
