#include "FileContent.h"
#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigRewrite.h"
#include "cfgfile/ConfigSaver.h"

#include <QDir>
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

// The stretches of the old content, each lone CR given its LF, and the
// ending: what TestConfigRewrite shows to be the game's reading of the file.
QByteArray bytesAfterSave(const QByteArray& old, const QString& line)
{
    QByteArray bytes;
    for (const QByteArrayView stretch : ConfigRewrite::stretches(old))
        bytes += stretch.toByteArray() + '\n';
    bytes.chop(1);
    return bytes + ConfigRewrite::ending(old, encodeConfigLine(line));
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Many short CR LF lines, and with `loneCr` one old Mac line end near the
// start, so that the line ends have to change in the middle of the file.
QByteArray config(qsizetype size, bool loneCr)
{
    QByteArray bytes = loneCr ? QByteArray("seta old \"1\"\r") : QByteArray();
    while (bytes.size() < size)
        bytes += "bind KP_5 Say \"^1hello\"\r\n";
    return bytes;
}

const QString Line = QStringLiteral("seta name \"B\"");
const QString LongLine = QStringLiteral("seta name \"%1\"").arg(QString(40000, u'Q'));
// What a save killed half way may leave behind.
const QRegularExpression Leftover(QStringLiteral("^\\.sof2mp\\.cfg\\.veltrane$"));

// Runs a shell script in `folder` to its end; why it failed, or nothing.
QString runScript(const QString& folder, const QString& script)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("sh"), {QStringLiteral("-ec"), script});
    const bool ran = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ran ? QString() : script + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError());
}

// Scripts that make "mnt/game" on a file system of its own, and fill a folder
// with all the room there is, in ever smaller pieces, allocated and then
// written: a file system may keep back room from one but not the other.
const QString OnImage = QStringLiteral("; mkdir mnt; mount -o loop image mnt; ");
const QString Ext4 = "truncate -s 32M image; mkfs.ext4 -q -F image" + OnImage + "mkdir mnt/game";
const QString Xfs = "truncate -s 320M image; mkfs.xfs -q -f image" + OnImage + "mkdir mnt/game";
const QString Btrfs = "truncate -s 128M image; mkfs.btrfs -q -f --mixed image" + OnImage + "mkdir mnt/game";
const QString BtrfsQuota = "truncate -s 128M image; mkfs.btrfs -q -f --mixed image" + OnImage
                           + "btrfs subvolume create mnt/game; btrfs quota enable mnt; btrfs qgroup limit 1M mnt/game";
const QString FillDisk = QStringLiteral("touch filler; for piece in $(seq 30 -1 12); do while fallocate -o $(stat -c %s filler)"
                                        " -l $((1 << piece)) filler; do :; done; done; cat /dev/zero >>filler || sync;"
                                        " cat /dev/zero >>filler || sync");
const QString FillQuota = QStringLiteral("head -c 1000000 /dev/zero >filler; sync");

// At the at-th counted system call of a save: the save is killed, or the
// call fails with `error` (and with `noCutBack` so does every cut back after
// it, as on a full copy-on-write file system), or `meanwhile` runs while the
// call waits. Calls a process cannot carry on without are not failed.
struct StrikeAt
{
    int at = 0;
    int error = 0;
    bool noCutBack = false;
    std::function<void()> meanwhile;
};

struct ChildSave
{
    int error = -1; // shown to the player, 0 when saved, -1 when the child did not end by itself,
                    // PartOfLineLeft when told the file may now end with part of the line
    qsizetype struckAt = -1; // where in `calls` the strike came; -1: the save made fewer calls
    QList<long> calls;
};
constexpr int PartOfLineLeft = 200;

// Saves in a child process, so that limits, identities and strikes hit it
// and not the test; with a strike, traced system call by system call.
template <typename Prepare>
ChildSave saveInChild(const QString& path, const QString& line, Prepare prepare, const StrikeAt& strike = {})
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
        const bool cutBack = strike.noCutBack && save.struckAt >= 0 && info.entry.nr == SYS_ftruncate;
        if (!cutBack && ((strike.error && spared.contains(save.calls.last())) || ++counted != strike.at))
            continue;
        save.struckAt = save.calls.size() - 1;
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

// What the file is beyond its bytes: mode, owner, names, whether a link leads
// to it, its attribute flags and every extended attribute, ACLs among them.
QByteArray whatTheFileIs(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    ::stat(native.constData(), &status);
    int flags = 0;
    const int file = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ::ioctl(file, FS_IOC_GETFLAGS, &flags);
    ::close(file);
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

// What happens while a save waits at one of its system calls.
enum class Strike { Kill, Fail, Edit, Append };

} // namespace

class TestConfigSaver : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<QTemporaryDir>(); }

    void cleanup()
    {
        // Whatever a test mounted or made unremovable, also when it failed.
        runScript(m_folder->path(), QStringLiteral("for mount in game/sof2mp.cfg mnt fuse; do umount -l $mount 2>/dev/null || :; done;"
                                                   " chattr -R -ai . 2>/dev/null || :; rm -rf -- * .[!.]*"));
    }

    void savesOrSaysWhy_data()
    {
        QTest::addColumn<QString>("fileSystem"); // a script making "mnt/game"; empty: a folder "game"
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
        // A full disk, a quota and a size limit all stop a write part way: the
        // size limit exactly where it hurts, and its signal must not end the
        // program; each file system runs out of room its own way.
        const qint64 keptSize = bytesAfterSave(kept, Line).size();
        const qint64 loneCrSize = bytesAfterSave(loneCr, Line).size();
        QTest::newRow("size limit a byte short, in place") << "" << "" << false << kept << keptSize - 1 << Line << 61;
        QTest::newRow("size limit a byte short, rewritten") << "" << "" << false << loneCr << loneCrSize - 1 << Line << 61;
        QTest::newRow("size limit just enough") << "" << "" << false << loneCr << loneCrSize << Line << 0;
        const QByteArray small = config(3000, false);
        const QByteArray smallLoneCr = config(3000, true);
        QTest::newRow("ext4 full, in place") << Ext4 << FillDisk << false << small << -1ll << LongLine << 61;
        QTest::newRow("ext4 full, in place within the last block") << Ext4 << FillDisk << false << small << -1ll << Line << 0;
        QTest::newRow("ext4 full, lone CR") << Ext4 << FillDisk << false << smallLoneCr << -1ll << LongLine << 61;
        QTest::newRow("xfs full, in place") << Xfs << FillDisk << false << small << -1ll << LongLine << 61;
        QTest::newRow("btrfs full, lone CR") << Btrfs << FillDisk << false << smallLoneCr << -1ll << LongLine << 61;
        QTest::newRow("btrfs quota, lone CR") << BtrfsQuota << FillQuota << false << smallLoneCr << -1ll << LongLine << 61;
        QTest::newRow("btrfs quota, in place") << BtrfsQuota << FillQuota << false << small << -1ll << LongLine << 61;

        const auto inFolder = [](const char* name, const QString& setup, bool asNobody, const QByteArray& old, int error) {
            QTest::newRow(name) << "" << setup << asNobody << old << -1ll << Line << error;
        };
        inFolder("hard link, added in place", "ln sof2mp.cfg ../other-name.cfg", false, kept, 0);
        inFolder("hard link, line ends to change", "ln sof2mp.cfg ../other-name.cfg", false, loneCr, 75);
        inFolder("link to a name that is not UTF-8", "name=$(printf 'real\\377.cfg'); mv sof2mp.cfg $name; ln -s $name sof2mp.cfg", false, loneCr, 0);
        inFolder("link to a name of 255 bytes", "mv sof2mp.cfg $(printf '%0251d' 0 | tr 0 n).cfg; ln -s n*.cfg sof2mp.cfg", false, loneCr, 0);
        inFolder("leftover of a killed save", "echo >.sof2mp.cfg.veltrane-mine; echo >.sof2mp.cfg.veltrane", false, kept, 0);
        inFolder("owned by nobody", "chmod 604 sof2mp.cfg; chown nobody: sof2mp.cfg", false, loneCr, 0);
        inFolder("read-only file, as root", "chmod 444 sof2mp.cfg", false, kept, 70);
        inFolder("folder not writable", "chown nobody: sof2mp.cfg; chmod 555 .", true, kept, 0);
        inFolder("folder not writable, line ends to change", "chown nobody: sof2mp.cfg; chmod 555 .", true, loneCr, 70);
        const QString othersFile = QStringLiteral("chown root:$(id -gn nobody) sof2mp.cfg; chmod 664 sof2mp.cfg; chmod 777 .");
        inFolder("group-writable file of another user", othersFile, true, kept, 0);
        inFolder("group-writable file of another user, line ends to change", othersFile, true, loneCr, 70);
        inFolder("bind-mounted file", "cp sof2mp.cfg ../elsewhere.cfg; mount --bind ../elsewhere.cfg sof2mp.cfg", false, kept, 0);
        inFolder("append-only file", "chattr +a sof2mp.cfg", false, kept, 0);
        inFolder("append-only folder, line ends to change", "chattr +a .", false, loneCr, 75);
        inFolder("attribute flags, rewritten", "chattr +dA sof2mp.cfg", false, loneCr, 0);
        // XFS lists an ACL under two names, and removing one removes the other.
        QTest::newRow("xfs folder with a default ACL, rewritten") << Xfs << "setfacl -b sof2mp.cfg; setfacl -d -m u:nobody:r ." << false
                                                                  << loneCr << -1ll << Line << 0;
        QTest::newRow("LF in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"a\nquit\"") << 5;
        QTest::newRow("CR in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"a\rquit\"") << 5;
        QTest::newRow("NUL in the line") << "" << "" << false << kept << -1ll << QStringLiteral("seta name \"nul") + QChar(0) + "\"" << 5;
    }

    void savesOrSaysWhy()
    {
        QFETCH(QString, fileSystem);
        QFETCH(QString, setup);
        QFETCH(bool, asNobody);
        QFETCH(QByteArray, old);
        QFETCH(qint64, sizeLimit);
        QFETCH(QString, line);
        QFETCH(int, error);

        const passwd* nobody = ::getpwnam("nobody");
        if ((asNobody || !fileSystem.isEmpty()) && (::geteuid() != 0 || !nobody))
            QSKIP("needs root, for mounts and for a user nobody");
        QCOMPARE(::chmod(QFile::encodeName(m_folder->path()).constData(), 0755), 0);
        const QString game = m_folder->filePath(fileSystem.isEmpty() ? QStringLiteral("game") : QStringLiteral("mnt/game"));
        if (const QString why = runScript(m_folder->path(), fileSystem.isEmpty() ? QStringLiteral("mkdir game") : fileSystem); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString path = game + QStringLiteral("/sof2mp.cfg");
        QVERIFY(writeFile(path, old));
        // Every file carries an attribute and an ACL: user 12345 may read it, and
        // its group write it.
        ::setxattr(QFile::encodeName(path).constData(), "user.veltrane", "kept", 4, 0);
        if (const QString why = runScript(game, QStringLiteral("setfacl -m u:12345:r,g::rw sof2mp.cfg; ") + setup); !why.isEmpty())
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

    void struckAtEverySystemCall_data()
    {
        QTest::addColumn<bool>("loneCr"); // else added in place
        QTest::addColumn<Strike>("strike");
        QTest::addColumn<int>("error"); // the one a failed call fails with
        QTest::addColumn<bool>("noCutBack");
        QTest::addColumn<bool>("throughFuse"); // saved through a FUSE mount, written to behind it

        for (const bool loneCr : {false, true}) {
            const char* name = loneCr ? "lone CR" : "in place";
            QTest::addRow("%s, killed", name) << loneCr << Strike::Kill << 0 << false << false;
            QTest::addRow("%s, I/O error", name) << loneCr << Strike::Fail << EIO << false << false;
            QTest::addRow("%s, disk full", name) << loneCr << Strike::Fail << ENOSPC << false << false;
            QTest::addRow("%s, interrupted", name) << loneCr << Strike::Fail << EINTR << false << false;
            QTest::addRow("%s, an editor saves", name) << loneCr << Strike::Edit << 0 << false << false;
            QTest::addRow("%s, another program appends", name) << loneCr << Strike::Append << 0 << false << false;
        }
        QTest::newRow("in place, disk full, no room to cut back") << false << Strike::Fail << ENOSPC << true << false;
        QTest::newRow("in place, an editor saves, through FUSE") << false << Strike::Edit << 0 << false << true;
        QTest::newRow("in place, another program appends, behind FUSE") << false << Strike::Append << 0 << false << true;
    }

    void struckAtEverySystemCall()
    {
        QFETCH(bool, loneCr);
        QFETCH(Strike, strike);
        QFETCH(int, error);
        QFETCH(bool, noCutBack);
        QFETCH(bool, throughFuse);
    #ifndef __x86_64__
        QSKIP("failing a system call is written for x86-64 registers");
    #endif
        QString folder = m_folder->path();
        QString behind = folder;
        if (throughFuse) {
            if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("bindfs")).isEmpty())
                QSKIP("a FUSE mount needs root and bindfs");
            if (const QString why = runScript(folder, QStringLiteral("mkdir -p backing fuse; bindfs backing fuse")); !why.isEmpty())
                QSKIP(qPrintable(why));
            behind = folder + QStringLiteral("/backing");
            folder += QStringLiteral("/fuse");
        }
        const QString path = folder + QStringLiteral("/sof2mp.cfg");
        const bool meddling = strike == Strike::Edit || strike == Strike::Append;
        const QByteArray old = config(meddling ? 1000 : 600 << 10, loneCr);
        const QString line = meddling ? Line : QStringLiteral("seta name \"%1\"").arg(QString(3'000'000, u'Q'));
        // An editor saves by renaming a new file over the name; another program
        // appends a line, through a descriptor it holds (the file's own, behind a
        // mount) or, where the file is replaced, by opening the name. A program
        // that opens the file without waiting is never turned away meanwhile.
        const QByteArray theirs = strike == Strike::Edit ? old + "seta edited \"1\"\r\n" : old + "seta foreign \"1\"\r\n";
        const QByteArray nativePath = QFile::encodeName(path);
        bool turnedAway = false;
        int held = -1;
        const auto meddle = [&] {
            const int probe = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            turnedAway |= probe < 0 && errno == EAGAIN;
            ::close(probe);
            if (strike == Strike::Append) {
                const int file = loneCr ? ::open(nativePath.constData(), O_WRONLY | O_APPEND | O_CLOEXEC) : held;
                QVERIFY(::write(file, theirs.constData() + old.size(), size_t(theirs.size() - old.size())) > 0);
                if (loneCr)
                    ::close(file);
                return;
            }
            QVERIFY(writeFile(path + QStringLiteral(".new"), theirs));
            ::rename(QFile::encodeName(path + QStringLiteral(".new")).constData(), nativePath.constData());
        };

        for (int strikeAt = 1;; ++strikeAt) {
            QVERIFY(writeFile(path, old));
            held = ::open(QFile::encodeName(behind + QStringLiteral("/sof2mp.cfg")).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
            const ChildSave save = saveInChild(path, line, [] { return true; },
                                               {strikeAt, error, noCutBack, meddling ? meddle : std::function<void()>()});
            ::close(held);
            const QList<long>& calls = save.calls;
            const QByteArray now = readFile(behind + QStringLiteral("/sof2mp.cfg"));
            const QString where = QStringLiteral("struck at call %1 (%2), save said %3")
                                      .arg(strikeAt).arg(calls.value(save.struckAt)).arg(save.error);
            if (meddling && save.struckAt < 0)
                break;
            if (meddling) {
                // Their change is never lost, and a save that succeeds has its
                // line in the file, unless an editor saved after the line took the
                // name: at the swap, or once added, flushed and checked.
                QVERIFY2(!turnedAway && (save.error == 0 || save.error == 75), qPrintable(where));
                const qsizetype flushed = calls.indexOf(SYS_fsync);
                const qsizetype named = loneCr ? calls.indexOf(SYS_renameat2) : flushed < 0 ? -1 : calls.indexOf(SYS_newfstatat, flushed);
                const bool editedLater = strike == Strike::Edit && named >= 0 && save.struckAt > named;
                QVERIFY2(save.error ? now == theirs
                                    : now == bytesAfterSave(theirs, line) || (strike == Strike::Append && now == bytesAfterSave(old, line) + theirs.sliced(old.size()))
                                          || (editedLater && now == theirs),
                         qPrintable(where));
            } else {
                const QByteArray saved = bytesAfterSave(old, line);
                // Only a player told so may find part of the line at the end; a
                // failure reported means nothing was written, success all.
                QVERIFY2(now == old || now == saved || save.error == PartOfLineLeft, qPrintable(where));
                QVERIFY2(save.error < 0 || save.error == PartOfLineLeft || (save.error == 0) == (now == saved), qPrintable(where));
                // An interrupted call is made again, and a flush that fails is a
                // save that may not last.
                const long struck = calls.value(save.struckAt);
                QVERIFY2(save.struckAt < 0 || strike != Strike::Fail || (error == EINTR ? save.error == 0 : struck != SYS_fsync || save.error > 0),
                         qPrintable(where));
                // A new file left under its hidden name is cleared by the next save.
                const QStringList leftovers = entriesOf(folder).filter(Leftover);
                QVERIFY2(entriesOf(folder).size() == 1 + leftovers.size() && leftovers.size() <= 1, qPrintable(where));
                if (!leftovers.isEmpty()) {
                    QCOMPARE(ConfigSaver::addLine(path, Line), std::nullopt);
                    QVERIFY2(entriesOf(folder).filter(Leftover).isEmpty(), qPrintable(where));
                }
            }
            if (save.struckAt < 0) {
                // The new file is flushed after it is written and before it takes
                // the name, or a crash could leave the name on bytes never written;
                // and the folder after the swap, or a crash could undo it.
                const qsizetype named = calls.indexOf(SYS_renameat2);
                QCOMPARE(named >= 0, loneCr);
                qsizetype written = named;
                while (written > 0 && !QList<long>{SYS_write, SYS_fchmod, SYS_fsetxattr, SYS_ioctl}.contains(calls[written - 1]))
                    --written;
                QVERIFY(named < 0 || (calls.mid(written, named - written).contains(SYS_fsync) && calls.indexOf(SYS_fsync, named) > 0));
                break;
            }
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(TestConfigSaver)
#include "TestConfigSaver.moc"
