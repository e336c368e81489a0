#include "cfgfile/ConfigSaver.h"
#include "support/ConfigFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Line = QStringLiteral("seta name \"B\"");

QByteArray newBytes(const QByteArray& old)
{
    return bytesAfterSave(old, Line);
}

struct stat statOf(const QString& path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Runs a save in a child process, so that limits and signals strike it and
// not the test. Returns the child's wait status.
template <typename Prepare>
int saveInChild(const QString& path, Prepare prepare, int killAfterMicroseconds = -1)
{
    const pid_t child = ::fork();
    if (child == 0) {
        prepare();
        const bool saved = !ConfigSaver().addLine(path, Line);
        ::_exit(saved ? 0 : 1);
    }
    if (killAfterMicroseconds >= 0) {
        ::usleep(useconds_t(killAfterMicroseconds));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

enum class Kept { Mode0640, OwnerNobody, HardLink, Attributes };

// Every extended attribute with its value, ACLs among them.
QMap<QByteArray, QByteArray> attributesOf(const QByteArray& path)
{
    QMap<QByteArray, QByteArray> attributes;
    QByteArray names(4096, '\0');
    const ssize_t size = ::listxattr(path.constData(), names.data(), size_t(names.size()));
    for (const QByteArray& name : names.first(qMax<ssize_t>(size, 0)).split('\0')) {
        QByteArray value(4096, '\0');
        const ssize_t length = ::getxattr(path.constData(), name.constData(), value.data(), size_t(value.size()));
        if (!name.isEmpty())
            attributes.insert(name, value.first(qMax<ssize_t>(length, 0)));
    }
    return attributes;
}

// An ACL that also lets nobody read the file, as the kernel stores it.
QByteArray aclWithNobody(uid_t nobody)
{
    QByteArray acl;
    const auto add = [&acl](quint32 value, int size) { acl.append(reinterpret_cast<const char*>(&value), size); };
    add(2, 4); // version
    const std::tuple<quint16, quint16, quint32> entries[] = {
        {0x01, 6, quint32(-1)}, {0x02, 4, nobody}, {0x04, 4, quint32(-1)}, {0x10, 4, quint32(-1)}, {0x20, 0, quint32(-1)}};
    for (const auto& [tag, permissions, id] : entries) {
        add(tag, 2);
        add(permissions, 2);
        add(id, 4);
    }
    return acl;
}

enum class Setting { Plain, NonUtf8Link, LongName, ReadOnlyFolder, OthersGroupFile, BindMount };

// Saves in a child, as the user nobody if `nobody` is given; the message
// shown, empty when the save succeeded.
QString saveAs(const passwd* nobody, const QString& path, const QString& line)
{
    int messagePipe[2];
    if (::pipe2(messagePipe, O_CLOEXEC) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = ::fork();
    if (child == 0) {
        if (nobody && (::setgroups(0, nullptr) != 0 || ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0
                       || ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0))
            ::_exit(2);
        const std::optional<RuntimeError> failure = ConfigSaver().addLine(path, line);
        const QByteArray message = failure ? failure->message().toUtf8() : QByteArray();
        ::write(messagePipe[1], message.constData(), size_t(message.size()));
        ::_exit(0);
    }
    ::close(messagePipe[1]);
    QByteArray message;
    char buffer[1024];
    ssize_t count = 0;
    while ((count = ::read(messagePipe[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, count);
    ::close(messagePipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(message) : QStringLiteral("<child failed>");
}

} // namespace

class TestConfigSaver : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void savesNewBytes_data();
    void savesNewBytes();
    void keepsWhatTheFileIs_data();
    void keepsWhatTheFileIs();
    void awkwardFilesSaveOrSayWhy_data();
    void awkwardFilesSaveOrSayWhy();
    void fileSizeLimitLosesNothing_data();
    void fileSizeLimitLosesNothing();
    void leftoverOfAKilledSaveIsClearedAway();
    void killedAtAnyInstantLosesNothing_data();
    void killedAtAnyInstantLosesNothing();

private:
    QString pathOf(const QString& name) const { return m_folder->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestConfigSaver::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestConfigSaver::savesNewBytes_data()
{
    QTest::addColumn<QByteArray>("old");

    QTest::newRow("CR LF lines") << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("final lone CR") << QByteArray("a\r");
    QTest::newRow("lone LF") << QByteArray("a\nb\n");
    QTest::newRow("lone CR line ends") << QByteArray("a\rb\r");
    QTest::newRow("NUL and high bytes") << QByteArray("\0\xff\x1a\r\n", 5);

    // A large file is read and copied in pieces; where a lone CR falls among
    // them must not matter.
    const QByteArray crLfLines = largeConfig(1 << 20, false);
    const qsizetype piece = 256 << 10;
    for (const qsizetype at : {piece - 1, piece, piece + 1, crLfLines.size() - 3}) {
        QByteArray old = crLfLines;
        old[at] = '\r';
        QTest::addRow("lone CR at %lld of a large file", qlonglong(at)) << old;
    }
    QByteArray macLines = crLfLines;
    macLines.replace("\r\n", "\r");
    QTest::newRow("a large file of lone CR line ends") << macLines;
}

void TestConfigSaver::savesNewBytes()
{
    QFETCH(QByteArray, old);

    const QString path = pathOf(QStringLiteral("sof2mp.cfg"));
    writeFile(path, old);

    QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
    QCOMPARE(readFile(path), newBytes(old));
    QCOMPARE(entriesOf(m_folder->path()), QStringList{QStringLiteral("sof2mp.cfg")});

    QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
    QCOMPARE(readFile(path), newBytes(newBytes(old)));
}

void TestConfigSaver::keepsWhatTheFileIs_data()
{
    QTest::addColumn<Kept>("kept");
    QTest::addColumn<QByteArray>("old");

    for (const auto& [name, old] : {std::pair{"old bytes kept", QByteArray("a\r\n")}, std::pair{"line ends changed", QByteArray("a\rb")}}) {
        QTest::addRow("%s, mode 0640", name) << Kept::Mode0640 << old;
        QTest::addRow("%s, owned by nobody", name) << Kept::OwnerNobody << old;
        QTest::addRow("%s, attribute and ACL", name) << Kept::Attributes << old;
    }
    // Replacing would cut the other name off, so the line is added in place;
    // with line ends to change, the save is refused instead.
    QTest::newRow("old bytes kept, hard link") << Kept::HardLink << QByteArray("a\r\n");
}

void TestConfigSaver::keepsWhatTheFileIs()
{
    QFETCH(Kept, kept);
    QFETCH(QByteArray, old);

    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("game")));
    const QString target = pathOf(QStringLiteral("game/sof2mp.cfg"));
    const QByteArray nativeTarget = QFile::encodeName(target);
    writeFile(target, old);
    QString path = target;
    switch (kept) {
    case Kept::Mode0640:
        QCOMPARE(::chmod(nativeTarget.constData(), 0640), 0);
        break;
    case Kept::OwnerNobody: {
        const passwd* nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || !nobody)
            QSKIP("needs root and a user nobody");
        QCOMPARE(::chmod(nativeTarget.constData(), 0604), 0);
        QCOMPARE(::chown(nativeTarget.constData(), nobody->pw_uid, nobody->pw_gid), 0);
        break;
    }
    case Kept::HardLink:
        path = pathOf(QStringLiteral("other-name.cfg"));
        QCOMPARE(::link(nativeTarget.constData(), QFile::encodeName(path).constData()), 0);
        break;
    case Kept::Attributes: {
        const QByteArray acl = aclWithNobody(65534);
        if (::setxattr(nativeTarget.constData(), "user.veltrane", "kept", 4, 0) != 0
            || ::setxattr(nativeTarget.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0) != 0)
            QSKIP("the temporary folder's file system holds no extended attributes or ACLs");
        break;
    }
    }
    const struct stat before = statOf(target);
    const QMap<QByteArray, QByteArray> attributes = attributesOf(nativeTarget);

    QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
    const struct stat after = statOf(target);
    QCOMPARE(readFile(target), newBytes(old));
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(attributesOf(nativeTarget), attributes);
    QCOMPARE(entriesOf(pathOf(QStringLiteral("game"))), QStringList{QStringLiteral("sof2mp.cfg")});
}

void TestConfigSaver::awkwardFilesSaveOrSayWhy_data()
{
    QTest::addColumn<Setting>("setting");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message"); // empty: saved

    const QByteArray kept("a\r\n");
    const QByteArray loneCr("a\rb");
    QTest::newRow("link to a name that is not UTF-8") << Setting::NonUtf8Link << loneCr << Line << QString();
    QTest::newRow("name of 255 bytes") << Setting::LongName << loneCr << Line << QString();
    QTest::newRow("folder not writable, as nobody") << Setting::ReadOnlyFolder << kept << Line << QString();
    QTest::newRow("group-writable file of another user, as nobody") << Setting::OthersGroupFile << kept << Line << QString();
    QTest::newRow("bind-mounted file") << Setting::BindMount << kept << Line << QString();
    QTest::newRow("folder not writable, line ends to change, as nobody")
        << Setting::ReadOnlyFolder << loneCr << Line << QStringLiteral("70, Permission denied");
    const QString refused = QStringLiteral("5, The line holds a line break; nothing was saved");
    QTest::newRow("LF in the line") << Setting::Plain << kept << QStringLiteral("seta name \"a\nquit\"") << refused;
    QTest::newRow("CR in the line") << Setting::Plain << kept << QStringLiteral("seta name \"a\rquit\"") << refused;
}

void TestConfigSaver::awkwardFilesSaveOrSayWhy()
{
    QFETCH(Setting, setting);
    QFETCH(QByteArray, old);
    QFETCH(QString, line);
    QFETCH(QString, message);

    const passwd* nobody = ::getpwnam("nobody");
    const bool needsRoot = setting == Setting::ReadOnlyFolder || setting == Setting::OthersGroupFile || setting == Setting::BindMount;
    if (needsRoot && (::geteuid() != 0 || !nobody))
        QSKIP("needs root and a user nobody");
    const QString game = pathOf(QStringLiteral("game"));
    QVERIFY(QDir().mkdir(game));
    QCOMPARE(::chmod(QFile::encodeName(m_folder->path()).constData(), 0755), 0);
    QString path = game + QStringLiteral("/sof2mp.cfg");
    QString shown = path; // where the bytes are read back
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray nativeGame = QFile::encodeName(game);
    const auto unmount = qScopeGuard([&] { ::umount2(nativePath.constData(), MNT_DETACH); });
    const passwd* runAs = nullptr;

    switch (setting) {
    case Setting::Plain:
        writeFile(path, old);
        break;
    case Setting::NonUtf8Link: {
        const QByteArray target = nativeGame + "/real\xff.cfg";
        const int file = ::open(target.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QCOMPARE(::write(file, old.constData(), size_t(old.size())), ssize_t(old.size()));
        ::close(file);
        QCOMPARE(::symlink("real\xff.cfg", nativePath.constData()), 0);
        break;
    }
    case Setting::LongName:
        path = shown = game + QLatin1Char('/') + QString(251, QLatin1Char('n')) + QStringLiteral(".cfg");
        writeFile(path, old);
        break;
    case Setting::ReadOnlyFolder:
        writeFile(path, old);
        QCOMPARE(::chown(nativePath.constData(), nobody->pw_uid, nobody->pw_gid), 0);
        QCOMPARE(::chmod(nativeGame.constData(), 0555), 0);
        runAs = nobody;
        break;
    case Setting::OthersGroupFile:
        writeFile(path, old);
        QCOMPARE(::chown(nativePath.constData(), 0, nobody->pw_gid), 0);
        QCOMPARE(::chmod(nativePath.constData(), 0664), 0);
        QCOMPARE(::chmod(nativeGame.constData(), 0777), 0);
        runAs = nobody;
        break;
    case Setting::BindMount:
        shown = pathOf(QStringLiteral("elsewhere.cfg"));
        writeFile(shown, old);
        writeFile(path, {});
        if (::mount(QFile::encodeName(shown).constData(), nativePath.constData(), nullptr, MS_BIND, nullptr) != 0)
            QSKIP("cannot bind-mount a file here");
        break;
    }
    const QStringList entries = entriesOf(game);

    QCOMPARE(saveAs(runAs, path, line), message);
    QCOMPARE(readFile(shown), message.isEmpty() ? bytesAfterSave(old, line) : old);
    QCOMPARE(entriesOf(game), entries);
    QCOMPARE(QFileInfo(path).isSymLink(), setting == Setting::NonUtf8Link);
}

void TestConfigSaver::fileSizeLimitLosesNothing_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::newRow("old bytes kept") << largeConfig(5000, false);
    QTest::newRow("line ends changed") << largeConfig(5000, true);
}

void TestConfigSaver::fileSizeLimitLosesNothing()
{
    // A full disk, a quota and a size limit all stop a write part way; the
    // size limit can be set exactly where it hurts most.
    QFETCH(QByteArray, old);
    const QByteArray saved = newBytes(old);
    const QString path = pathOf(QStringLiteral("sof2mp.cfg"));

    QList<rlim_t> limits{0, 1, 4096};
    for (qsizetype size = old.size() - 3; size <= saved.size() + 3; ++size)
        limits << rlim_t(size);
    for (const rlim_t limit : limits) {
        writeFile(path, old);
        const int status = saveInChild(path, [limit] {
            const rlimit fileSize{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
        });
        QVERIFY(WIFEXITED(status));
        const bool fits = limit >= rlim_t(saved.size());
        QCOMPARE(WEXITSTATUS(status) == 0, fits);
        QCOMPARE(readFile(path), fits ? saved : old);
        QCOMPARE(entriesOf(m_folder->path()), QStringList{QStringLiteral("sof2mp.cfg")});
    }
}

void TestConfigSaver::leftoverOfAKilledSaveIsClearedAway()
{
    const QString path = pathOf(QStringLiteral("sof2mp.cfg"));
    writeFile(path, "a\rb\r\n");
    writeFile(pathOf(QStringLiteral(".sof2mp.cfg.veltrane-k3x9q0zz")), "half");
    writeFile(pathOf(QStringLiteral(".sof2mp.cfg.veltrane-mine")), "not ours to remove");

    QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
    QCOMPARE(entriesOf(m_folder->path()),
             (QStringList{QStringLiteral(".sof2mp.cfg.veltrane-mine"), QStringLiteral("sof2mp.cfg")}));
}

void TestConfigSaver::killedAtAnyInstantLosesNothing_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::newRow("old bytes kept") << largeConfig(4 << 20, false);
    QTest::newRow("line ends changed") << largeConfig(4 << 20, true);
}

void TestConfigSaver::killedAtAnyInstantLosesNothing()
{
    QFETCH(QByteArray, old);
    const QByteArray saved = newBytes(old);
    const QString path = pathOf(QStringLiteral("sof2mp.cfg"));

    writeFile(path, old);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(WEXITSTATUS(saveInChild(path, [] {})), 0);
    const qint64 saveMicroseconds = timer.nsecsElapsed() / 1000;

    QRandomGenerator random(4242);
    for (int round = 0; round < 30; ++round) {
        writeFile(path, old);
        const int killAfter = random.bounded(int(saveMicroseconds * 5 / 4) + 1);
        saveInChild(path, [] {}, killAfter);
        const QByteArray now = readFile(path);
        QVERIFY2(now == old || now == saved, qPrintable(QStringLiteral("killed after %1 µs").arg(killAfter)));
        // Only a kill while the new file or, after the swap, the old one
        // has the temporary name may leave that name behind.
        const QStringList entries = entriesOf(m_folder->path());
        if (entries.size() > 1) {
            QCOMPARE(entries.size(), 2);
            QVERIFY(entries.contains(QStringLiteral("sof2mp.cfg")));
        }
    }
    // The next save clears any such leftover away.
    writeFile(path, old);
    QCOMPARE(ConfigSaver().addLine(path, Line), std::nullopt);
    QCOMPARE(entriesOf(m_folder->path()), QStringList{QStringLiteral("sof2mp.cfg")});
}

QTEST_GUILESS_MAIN(TestConfigSaver)
#include "TestConfigSaver.moc"
