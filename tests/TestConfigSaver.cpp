#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigRewrite.h"
#include "cfgfile/ConfigSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray bytesAfterSave(const QByteArray& old, const QString& line)
{
    return ConfigRewrite::rewriteAll(old, encodeConfigLine(line));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Many short CR LF lines, and with `loneCr` one old Mac line end near the
// start, so that the line ends have to change in the middle of the file.
QByteArray largeConfig(qsizetype size, bool loneCr)
{
    QByteArray bytes = loneCr ? QByteArray("seta old \"1\"\r") : QByteArray();
    while (bytes.size() < size)
        bytes += "bind KP_5 Say \"^1hello\"\r\n";
    return bytes;
}

const QString Line = QStringLiteral("seta name \"B\"");

// What a save killed half way may leave behind.
const QRegularExpression Leftover(QStringLiteral("^\\.sof2mp\\.cfg\\.veltrane$"));

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

// "mnt/game" on a file system of its own that `makeFileSystem` makes in the
// file "image"; why it could not be made, or nothing.
QString mountFileSystem(const QString& folder, const QString& makeFileSystem)
{
    if (::geteuid() != 0)
        return QStringLiteral("mounting a file system image needs root");
    return runScript(folder, makeFileSystem + QStringLiteral("; mkdir mnt; mount -o loop image mnt; mkdir mnt/game"));
}

// A FUSE mount "fuse" that shows the folder "backing"; why it could not be
// made, or nothing.
QString mountFuse(const QString& folder)
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("bindfs")).isEmpty())
        return QStringLiteral("a FUSE mount needs root and bindfs");
    return runScript(folder, QStringLiteral("mkdir -p backing fuse; bindfs backing fuse"));
}

struct Strike
{
    int at = 0; // the counted system call the strike comes at, from 1
    int error = 0; // that call fails with this error instead of running; 0: the save is killed there
    bool noCutBack = false; // every cut back after it fails too, as on a full copy-on-write file system
    std::function<void()> meanwhile; // runs while the call waits, instead of a strike
};

struct ChildSave
{
    int error = -1; // the number the player is shown, 0 when saved, -1 when the child did not end by itself,
                    // PartOfLineLeft when told the file may now end with part of the line
    bool struck = false; // the call came
    qsizetype struckIndex = -1; // where in `calls`
    QList<long> calls;
};

// Saves in a child process, so that limits, identities and strikes hit it
// and not the test. With a strike the child is traced system call by system
// call. Calls a process cannot carry on without (memory, signals, exit) are
// not counted when they would fail.
constexpr int PartOfLineLeft = 200;
template <typename Prepare>
ChildSave saveInChild(const QString& path, const QString& line, Prepare prepare, const Strike& strike = {})
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (!prepare() || (strike.at && (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || ::raise(SIGSTOP) != 0)))
            ::_exit(255);
        const std::optional<RuntimeError> failure = ConfigSaver::addLine(path, line);
        ::_exit(!failure ? 0 : failure->description.contains(QLatin1String("part of the new line")) ? PartOfLineLeft : failure->number);
    }
    static const QList<long> spared{SYS_mmap, SYS_munmap, SYS_mremap, SYS_brk, SYS_madvise, SYS_mprotect, SYS_exit,
                                    SYS_exit_group, SYS_futex, SYS_getrandom, SYS_rt_sigaction, SYS_rt_sigprocmask};
    ChildSave save;
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    bool failing = false;
    for (int counted = 0, signal = 0; strike.at && !WIFEXITED(status) && !WIFSIGNALED(status);) {
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
                registers.rax = -static_cast<unsigned long long>(strike.error);
                ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
            }
            continue;
        }
        save.calls << long(info.entry.nr);
        const bool cutBack = strike.noCutBack && save.struck && info.entry.nr == SYS_ftruncate;
        if (!cutBack && ((strike.error && spared.contains(save.calls.last())) || ++counted != strike.at))
            continue;
        save.struck = true;
        save.struckIndex = save.calls.size() - 1;
        if (strike.meanwhile) {
            strike.meanwhile();
        } else if (!strike.error) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        } else {
            registers.orig_rax = static_cast<unsigned long long>(-1);
            ::ptrace(PTRACE_SETREGS, child, nullptr, &registers);
            failing = true;
        }
    }
    save.error = WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
    return save;
}

// What the file is beyond its bytes: mode, owner, names, whether a link
// leads to it, its attribute flags and every extended attribute, ACLs among them.
QByteArray whatTheFileIs(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    ::stat(native.constData(), &status);
    int flags = 0;
    if (const int file = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); file >= 0) {
        ::ioctl(file, FS_IOC_GETFLAGS, &flags);
        ::close(file);
    }
    QByteArray what = QByteArray::number(status.st_mode, 8) + ' ' + QByteArray::number(status.st_uid) + ':'
        + QByteArray::number(status.st_gid) + " names " + QByteArray::number(status.st_nlink) + " flags "
        + QByteArray::number(flags, 16) + (QFileInfo(path).isSymLink() ? " linked" : "");
    QByteArray names(4096, '\0');
    names.truncate(qMax<ssize_t>(::listxattr(native.constData(), names.data(), size_t(names.size())), 0));
    for (const QByteArray& name : names.split('\0')) {
        QByteArray value(4096, '\0');
        value.truncate(qMax<ssize_t>(::getxattr(native.constData(), name.constData(), value.data(), size_t(value.size())), 0));
        what += ' ' + name + '=' + value.toHex();
    }
    return what;
}

enum class SaveCase { InPlace, LoneCr };

} // namespace

class TestConfigSaver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savesOrSaysWhy_data();
    void savesOrSaysWhy();
    void fullDiskKeepsOldBytes_data();
    void fullDiskKeepsOldBytes();
    void struckAtEverySystemCall_data();
    void struckAtEverySystemCall();
    void editorSavesAtEverySystemCall_data();
    void editorSavesAtEverySystemCall();
    void foreignLinesSurviveSaves_data();
    void foreignLinesSurviveSaves();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestConfigSaver::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
}

void TestConfigSaver::cleanup()
{
    // Whatever a test mounted or made unremovable, also when it failed.
    runScript(m_folder->path(), QStringLiteral("for mount in game/sof2mp.cfg mnt fuse; do umount -l $mount 2>/dev/null || :; done;"
                                               " chattr -R -ai . 2>/dev/null || :; rm -rf -- * .[!.]*"));
    m_folder.reset();
}

void TestConfigSaver::savesOrSaysWhy_data()
{
    QTest::addColumn<QString>("fileSystem"); // a script making the file "image"; empty: the temporary folder
    QTest::addColumn<QString>("setup"); // a script run as root in the file's folder
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<qint64>("sizeLimit"); // -1: none
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("error"); // the number shown, 0: saved

    const QByteArray kept("a\r\n");
    const QByteArray loneCr("a\rb\0\xff\x1a", 6);
    QTest::newRow("CR LF lines, added in place") << "" << "" << false << kept << -1ll << Line << 0;
    QTest::newRow("lone CR, rewritten") << "" << "" << false << loneCr << -1ll << Line << 0;
    // A full disk, a quota and a size limit all stop a write part way; the
    // size limit can be set exactly where it hurts, and its signal must not
    // end the program.
    const qint64 keptSize = bytesAfterSave(kept, Line).size();
    const qint64 loneCrSize = bytesAfterSave(loneCr, Line).size();
    QTest::newRow("size limit a byte short, in place") << "" << "" << false << kept << keptSize - 1 << Line << 61;
    QTest::newRow("size limit a byte short, rewritten") << "" << "" << false << loneCr << loneCrSize - 1 << Line << 61;
    QTest::newRow("size limit just enough") << "" << "" << false << loneCr << loneCrSize << Line << 0;

    QTest::newRow("hard link, added in place") << "" << "ln sof2mp.cfg ../other-name.cfg" << false << kept << -1ll << Line << 0;
    QTest::newRow("hard link, line ends to change") << "" << "ln sof2mp.cfg ../other-name.cfg" << false << loneCr << -1ll << Line << 75;
    QTest::newRow("link to a name that is not UTF-8") << "" << "name=$(printf 'real\\377.cfg'); mv sof2mp.cfg $name; ln -s $name sof2mp.cfg"
                                                      << false << loneCr << -1ll << Line << 0;
    QTest::newRow("link to a name of 255 bytes") << "" << "mv sof2mp.cfg $(printf '%0251d' 0 | tr 0 n).cfg; ln -s n*.cfg sof2mp.cfg"
                                                 << false << loneCr << -1ll << Line << 0;
    QTest::newRow("leftover of a killed save") << "" << "echo >.sof2mp.cfg.veltrane-mine; echo >.sof2mp.cfg.veltrane" << false
                                               << kept << -1ll << Line << 0;
    QTest::newRow("owned by nobody") << "" << "chmod 604 sof2mp.cfg; chown nobody: sof2mp.cfg" << false << loneCr << -1ll << Line << 0;
    QTest::newRow("read-only file, as root") << "" << "chmod 444 sof2mp.cfg" << false << kept << -1ll << Line << 70;
    QTest::newRow("folder not writable") << "" << "chown nobody: sof2mp.cfg; chmod 555 ." << true << kept << -1ll << Line << 0;
    QTest::newRow("folder not writable, line ends to change") << "" << "chown nobody: sof2mp.cfg; chmod 555 ." << true << loneCr << -1ll
                                                              << Line << 70;
    QTest::newRow("group-writable file of another user") << "" << "chown root:$(id -gn nobody) sof2mp.cfg; chmod 664 sof2mp.cfg; chmod 777 ."
                                                         << true << kept << -1ll << Line << 0;
    QTest::newRow("group-writable file of another user, line ends to change")
        << "" << "chown root:$(id -gn nobody) sof2mp.cfg; chmod 664 sof2mp.cfg; chmod 777 ." << true << loneCr << -1ll << Line << 70;
    QTest::newRow("bind-mounted file") << "" << "cp sof2mp.cfg ../elsewhere.cfg; mount --bind ../elsewhere.cfg sof2mp.cfg" << false
                                       << kept << -1ll << Line << 0;
    QTest::newRow("append-only file") << "" << "chattr +a sof2mp.cfg" << false << kept << -1ll << Line << 0;
    QTest::newRow("append-only folder, line ends to change") << "" << "chattr +a ." << false << loneCr << -1ll << Line << 75;
    QTest::newRow("attribute flags, rewritten") << "" << "chattr +dA sof2mp.cfg" << false << loneCr << -1ll << Line << 0;
    // XFS lists an ACL under two names, and removing one removes the other.
    QTest::newRow("folder with a default ACL on xfs, rewritten")
        << "truncate -s 320M image; mkfs.xfs -q -f image" << "setfacl -b sof2mp.cfg; setfacl -d -m u:nobody:r ." << false
        << loneCr << -1ll << Line << 0;
    QTest::newRow("LF in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"a\nquit\"") << 5;
    QTest::newRow("CR in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"a\rquit\"") << 5;
    QTest::newRow("NUL in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"nul") + QChar(0) + "here\""
                                     << 5;
}

void TestConfigSaver::savesOrSaysWhy()
{
    QFETCH(QString, fileSystem);
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
    QString game = m_folder->filePath(QStringLiteral("game"));
    if (fileSystem.isEmpty())
        QVERIFY(QDir().mkdir(game));
    else if (const QString why = mountFileSystem(m_folder->path(), fileSystem); !why.isEmpty())
        QSKIP(qPrintable(why));
    else
        game = m_folder->filePath(QStringLiteral("mnt/game"));
    const QString path = game + QStringLiteral("/sof2mp.cfg");
    writeFile(path, old);
    // Every file carries an attribute and an ACL: user 12345 may read it, and
    // its group write it.
    const QString identity = QStringLiteral("setfacl -m u:12345:r,g::rw sof2mp.cfg; ");
    ::setxattr(QFile::encodeName(path).constData(), "user.veltrane", "kept", 4, 0);
    if (const QString why = runScript(game, identity + setup); !why.isEmpty())
        QSKIP(qPrintable(why));
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
    QTest::newRow("ext4, in place") << ext4 << false << SaveCase::InPlace << line;
    QTest::newRow("ext4, in place, short line") << ext4 << false << SaveCase::InPlace << Line;
    QTest::newRow("ext4, lone CR") << ext4 << false << SaveCase::LoneCr << line;
    QTest::newRow("xfs, in place") << xfs << false << SaveCase::InPlace << line;
    QTest::newRow("btrfs, lone CR") << btrfs << false << SaveCase::LoneCr << line;
    QTest::newRow("btrfs quota, lone CR") << btrfs << true << SaveCase::LoneCr << line;
    QTest::newRow("btrfs quota, in place") << btrfs << true << SaveCase::InPlace << line;
}

void TestConfigSaver::fullDiskKeepsOldBytes()
{
    QFETCH(QString, makeFileSystem);
    QFETCH(bool, quota);
    QFETCH(SaveCase, saveCase);
    QFETCH(QString, line);

    if (const QString why = mountFileSystem(m_folder->path(), makeFileSystem); !why.isEmpty())
        QSKIP(qPrintable(why));
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
    const QStringList entries = entriesOf(folder);

    const std::optional<RuntimeError> failure = ConfigSaver::addLine(path, line);
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

    const std::pair<const char*, SaveCase> cases[] = {{"in place", SaveCase::InPlace}, {"lone CR", SaveCase::LoneCr}};
    for (const auto& [name, saveCase] : cases) {
        QTest::addRow("%s, killed", name) << saveCase << 0 << false;
        QTest::addRow("%s, I/O error", name) << saveCase << EIO << false;
        QTest::addRow("%s, disk full", name) << saveCase << ENOSPC << false;
        QTest::addRow("%s, interrupted", name) << saveCase << EINTR << false;
    }
    QTest::newRow("in place, disk full, no room to cut back") << SaveCase::InPlace << ENOSPC << true;
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
        const ChildSave save = saveInChild(path, line, [] { return true; }, {strikeAt, error, noCutBack, {}});
        const long struck = save.calls.value(save.struckIndex);
        const QString where = QStringLiteral("struck at call %1 (%2) ").arg(strikeAt).arg(struck);
        const QByteArray now = readFile(path);
        // Only a player told so may find part of the line at the end.
        QVERIFY2(now == old || now == saved || save.error == PartOfLineLeft, qPrintable(where));
        // A failure reported means nothing was written; success means all.
        QVERIFY2(save.error < 0 || save.error == PartOfLineLeft || (save.error == 0) == (now == saved), qPrintable(where + QString::number(save.error)));
        // An interrupted call is made again, and a flush that fails is a save
        // that may not last.
        if (save.struck && error == EINTR)
            QVERIFY2(save.error == 0, qPrintable(where));
        if (save.struck && error && error != EINTR && (struck == SYS_fsync || struck == SYS_fdatasync))
            QVERIFY2(save.error > 0, qPrintable(where));
        // A new file left under its temporary name is cleared away by the
        // next save.
        const QStringList leftovers = entriesOf(m_folder->path()).filter(Leftover);
        QVERIFY2(leftovers.size() <= 1, qPrintable(where));
        QCOMPARE(entriesOf(m_folder->path()).size(), 1 + leftovers.size());
        if (!leftovers.isEmpty()) {
            QCOMPARE(ConfigSaver::addLine(path, Line), std::nullopt);
            QVERIFY2(entriesOf(m_folder->path()).filter(Leftover).isEmpty(), qPrintable(where));
        }
        if (!save.struck) {
            QCOMPARE(now, saved);
            // The new file is flushed after it is written and before it takes
            // the name, or a crash could leave the name on bytes never written.
            const QList<long>& calls = save.calls;
            const qsizetype named = std::ranges::find_if(calls, [](long call) { return call == SYS_renameat2; }) - calls.begin();
            QCOMPARE(named == calls.size(), saveCase == SaveCase::InPlace);
            qsizetype written = named;
            const QList<long> writing{SYS_write, SYS_fchmod, SYS_fsetxattr, SYS_ioctl};
            while (written > 0 && !writing.contains(calls[written - 1]))
                --written;
            QVERIFY(named == calls.size() || calls.mid(written, named - written).contains(SYS_fsync));
            break;
        }
    }
}

void TestConfigSaver::editorSavesAtEverySystemCall_data()
{
    QTest::addColumn<SaveCase>("saveCase");
    QTest::addColumn<bool>("throughFuse");
    QTest::newRow("in place") << SaveCase::InPlace << false;
    QTest::newRow("lone CR") << SaveCase::LoneCr << false;
    QTest::newRow("in place, through a FUSE mount") << SaveCase::InPlace << true;
}

void TestConfigSaver::editorSavesAtEverySystemCall()
{
    // An editor saves by writing a new file and renaming it over the name, at
    // any instant of the save; and a program that opens the file without
    // waiting is never turned away.
    QFETCH(SaveCase, saveCase);
    QFETCH(bool, throughFuse);
    QString folder = m_folder->path();
    if (throughFuse) {
        if (const QString why = mountFuse(folder); !why.isEmpty())
            QSKIP(qPrintable(why));
        folder += QStringLiteral("/fuse");
    }
    const QString path = folder + QStringLiteral("/sof2mp.cfg");
    const QByteArray old = largeConfig(1000, saveCase == SaveCase::LoneCr);
    const QByteArray edited = old + "seta edited \"1\"\r\n";
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray editorPath = QFile::encodeName(folder + QStringLiteral("/sof2mp.cfg.editor"));
    bool turnedAway = false;
    const auto editorSaves = [&] {
        const int probe = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        turnedAway |= probe < 0 && errno == EAGAIN;
        ::close(probe);
        writeFile(QFile::decodeName(editorPath), edited);
        ::rename(editorPath.constData(), nativePath.constData());
    };

    for (int strikeAt = 1;; ++strikeAt) {
        writeFile(path, old);
        const ChildSave save = saveInChild(path, Line, [] { return true; }, {strikeAt, 0, false, editorSaves});
        if (!save.struck)
            break;
        const QString where = QStringLiteral("edited at call %1 (%2), save said %3")
                                  .arg(strikeAt).arg(save.calls.value(save.struckIndex)).arg(save.error);
        // The line took the name at the swap, or in place once it was flushed
        // and the name checked: an edit after that is one made after saving.
        const QList<long>& calls = save.calls;
        const qsizetype swapped = calls.indexOf(SYS_renameat2);
        const qsizetype flushed = calls.indexOf(SYS_fdatasync);
        const qsizetype named = swapped >= 0 ? swapped : flushed >= 0 ? calls.indexOf(SYS_newfstatat, flushed) : -1;
        const QByteArray now = readFile(path);
        QVERIFY2(!turnedAway, qPrintable(where));
        QVERIFY2(save.error == 0 || save.error == 75, qPrintable(where));
        if (save.error)
            QVERIFY2(now == edited, qPrintable(where));
        else
            QVERIFY2(now == bytesAfterSave(edited, Line) || (now == edited && named >= 0 && save.struckIndex > named), qPrintable(where));
    }
}

void TestConfigSaver::foreignLinesSurviveSaves_data()
{
    QTest::addColumn<QString>("appendLine");
    QTest::addColumn<bool>("throughFuse"); // saves go through a FUSE mount of the writer's folder
    QTest::newRow("writer keeps the file open") << QStringLiteral("exec 3>>sof2mp.cfg; appendLine() { printf \"$1\" >&3; }") << false;
    QTest::newRow("writer opens the file for each line") << QStringLiteral("appendLine() { printf \"$1\" >>sof2mp.cfg; }") << false;
    QTest::newRow("writer keeps the file open behind a FUSE mount")
        << QStringLiteral("exec 3>>sof2mp.cfg; appendLine() { printf \"$1\" >&3; }") << true;
}

void TestConfigSaver::foreignLinesSurviveSaves()
{
    // Another program appends "foreign <n>" lines, one a millisecond, until
    // told to stop.
    QFETCH(QString, appendLine);
    QFETCH(bool, throughFuse);
    QString folder = m_folder->path();
    QString savedThrough = folder;
    if (throughFuse) {
        if (const QString why = mountFuse(folder); !why.isEmpty())
            QSKIP(qPrintable(why));
        folder += QStringLiteral("/backing");
        savedThrough += QStringLiteral("/fuse");
    }
    const QString path = folder + QStringLiteral("/sof2mp.cfg");
    writeFile(path, {});
    QProcess writer;
    writer.setWorkingDirectory(folder);
    writer.start(QStringLiteral("sh"), {QStringLiteral("-ec"), appendLine + QStringLiteral("; n=0; while [ ! -e stop ]; do"
        " appendLine \"foreign $n\\r\\n\"; n=$((n + 1)); sleep 0.001; done; echo $n")});
    while (QFileInfo(path).size() == 0)
        ::usleep(100);

    QList<bool> saved;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000) {
        const QString line = QStringLiteral("seta name \"save %1\"").arg(saved.size());
        const std::optional<RuntimeError> failure = ConfigSaver::addLine(savedThrough + QStringLiteral("/sof2mp.cfg"), line);
        if (failure)
            QCOMPARE(failure->message(), QStringLiteral("75, File was changed by another program while saving"));
        saved << !failure;
    }
    writeFile(folder + QStringLiteral("/stop"), {});
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
    QCOMPARE(nextForeign, writer.readAllStandardOutput().trimmed().toInt());
    QCOMPARE(found, saved);
    QVERIFY(saved.contains(true));
}

QTEST_GUILESS_MAIN(TestConfigSaver)
#include "TestConfigSaver.moc"
