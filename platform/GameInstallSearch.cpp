#include "platform/GameInstallSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Wine's own folders under drive_c and Program Files. They hold thousands of
// files and never the game, so they are never listed.
constexpr const char* WineOwnFolders[] = {
    "windows", "users", "ProgramData", "Common Files", "Internet Explorer", "Windows Media Player",
    "Windows NT", "Windows Defender", "Windows Mail", "Windows Photo Viewer", "Windows Sidebar",
    "WindowsPowerShell", "Microsoft.NET",
};

// Compared as the folder holds the name, before it is turned into text.
bool isWineOwnFolder(const char* name)
{
    return std::ranges::any_of(WineOwnFolders, [&](const char* own) { return qstricmp(name, own) == 0; });
}

std::optional<struct stat> statusOf(const QString& path)
{
    struct stat status{};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

bool isFolder(const QString& path)
{
    const auto status = statusOf(path);
    return status && S_ISDIR(status->st_mode);
}

// A file's identity, the same through every link to it, found with one stat
// where resolving its full path would take one for each of its folders.
std::optional<std::pair<dev_t, ino_t>> identity(const QString& path)
{
    const auto status = statusOf(path);
    if (!status)
        return std::nullopt;
    return std::pair{status->st_dev, status->st_ino};
}

using Identities = QSet<std::pair<dev_t, ino_t>>;

// In UTC: the times are only compared with each other, and local time would
// first have the time zone loaded.
QDateTime lastChange(const struct stat& status)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000,
                                          Qt::UTC);
}

QString expandHome(QString path, const QString& home)
{
    if (path == u"~" || path.startsWith(u"~/"))
        path.replace(0, 1, home);
    return path;
}

// One walk over the places, with its deadline and the folders already seen.
class Walk
{
public:
    explicit Walk(QDeadlineTimer deadline)
        : m_deadline(deadline)
    {
    }

    QList<GameInstallSearch::Install> installs;

    bool timeIsUp() const { return m_deadline.hasExpired(); }

    enum class Entries { All, Folders, FoldersButWines };

    // The names in a folder, sorted. Entries the folder marks as plain files
    // cost no stat; links and unknown types do. A name left out is never
    // turned into text: a search lists a few hundred folders.
    QStringList list(const QString& folder, Entries entries) const
    {
        QStringList names;
        if (timeIsUp())
            return names;
        DIR* dir = ::opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return names;
        while (const dirent* entry = ::readdir(dir)) {
            if (qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0)
                continue;
            if (entries == Entries::FoldersButWines && isWineOwnFolder(entry->d_name))
                continue;
            if (entries != Entries::All && entry->d_type != DT_DIR
                && (entry->d_type == DT_REG || !isFolder(folder + u'/' + QFile::decodeName(entry->d_name))))
                continue;
            names.append(QFile::decodeName(entry->d_name));
        }
        ::closedir(dir);
        names.sort(Qt::CaseInsensitive);
        return names;
    }

    // The entry `name` in `folder` as Wine finds it: the exact name when it
    // exists, else one that differs only in case. Empty when there is none.
    // A stat first: most names are spelt as expected, and then no listing
    // is needed, unless the folder's names are already at hand.
    QString child(const QString& folder, const QString& name, const QStringList* names = nullptr) const
    {
        if (folder.isEmpty())
            return {};
        const QString exact = folder + u'/' + name;
        if (!names && QFileInfo::exists(exact))
            return exact;
        for (const QString& entry : names ? *names : list(folder, Entries::All)) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return folder + u'/' + entry;
        }
        return {};
    }

    // Records the game when `folder` is its install folder.
    bool checkGame(const QString& folder, const QString& source, const QStringList* subfolders = nullptr)
    {
        const QString base = child(folder, QStringLiteral("base"), subfolders);
        const QString mp = base.isEmpty() ? QString() : child(base, QStringLiteral("mp"));
        const QString config = mp.isEmpty() ? QString() : child(mp, QStringLiteral("sof2mp.cfg"));
        const auto status = config.isEmpty() ? std::nullopt : statusOf(config);
        if (!status || !S_ISREG(status->st_mode))
            return false;
        if (markVisited(std::pair{status->st_dev, status->st_ino}))
            installs.append({source, mp, config, lastChange(*status)});
        return true;
    }

    // A game folder may sit right under drive_c or one folder further in,
    // as under Program Files.
    void searchPrefix(const QString& prefix, const QString& source)
    {
        const QString driveC = child(prefix, QStringLiteral("drive_c"));
        if (driveC.isEmpty() || !markVisited(driveC))
            return;
        for (const QString& top : list(driveC, Entries::FoldersButWines)) {
            const QString topFolder = driveC + u'/' + top;
            const QStringList inners = list(topFolder, Entries::FoldersButWines);
            if (checkGame(topFolder, source, &inners))
                continue;
            for (const QString& inner : inners)
                checkGame(topFolder + u'/' + inner, source);
        }
    }

    // A folder that may be a prefix, the game's folder or a folder of games.
    void searchFolder(const QString& folder, const QString& source)
    {
        if (QFileInfo::exists(folder + QStringLiteral("/drive_c"))) {
            searchPrefix(folder, source);
            return;
        }
        if (!markVisited(folder))
            return;
        const QStringList inners = list(folder, Entries::Folders);
        if (checkGame(folder, source, &inners))
            return;
        for (const QString& inner : inners)
            checkGame(folder + u'/' + inner, source);
    }

private:
    bool markVisited(const QString& folder)
    {
        const auto id = identity(folder);
        return id && markVisited(*id);
    }

    bool markVisited(std::pair<dev_t, ino_t> id)
    {
        if (m_visited.contains(id))
            return false;
        m_visited.insert(id);
        return true;
    }

    QDeadlineTimer m_deadline;
    Identities m_visited; // the prefixes and folders searched, the configs found
};

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(1 << 20);
}

// The values of "key: value" lines in a YAML file, whatever their indent.
QStringList yamlValues(const QByteArray& yaml, QByteArrayView key)
{
    QStringList values;
    for (const QByteArray& text : yaml.split('\n')) {
        const QByteArrayView line = QByteArrayView(text).trimmed();
        if (!line.startsWith(key) || !line.sliced(key.size()).startsWith(':'))
            continue;
        QByteArrayView value = line.sliced(key.size() + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.sliced(1, value.size() - 2);
        if (!value.isEmpty())
            values.append(QString::fromUtf8(value));
    }
    return values;
}

} // namespace

GameInstallSearch::GameInstallSearch(QString home, QString winePrefix)
    : m_home(std::move(home))
    , m_winePrefix(std::move(winePrefix))
{
}

GameInstallSearch GameInstallSearch::fromEnvironment(const QProcessEnvironment& environment)
{
    const QString home = environment.value(QStringLiteral("HOME"), QDir::homePath());
    const QString prefix = environment.value(QStringLiteral("WINEPREFIX"));
    return GameInstallSearch(home, prefix.isEmpty() ? home + QStringLiteral("/.wine") : prefix);
}

QList<GameInstallSearch::Install> GameInstallSearch::find(QDeadlineTimer deadline) const
{
    Walk walk(deadline);
    walk.searchPrefix(m_winePrefix, QStringLiteral("Wine"));

    // ~/.steam/steam usually links to the first; each library counts once,
    // under the name a player knows best.
    QStringList libraries;
    Identities known;
    for (const char* root : {"/.local/share/Steam", "/.steam/steam", "/.var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
        const QString steam = m_home + QLatin1StringView(root);
        if (!isFolder(steam))
            continue;
        QStringList named{steam};
        named += steamLibraries(readSmallFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf")));
        for (const QString& library : named) {
            const auto id = identity(library);
            if (id && !known.contains(*id)) {
                known.insert(*id);
                libraries.append(library);
            }
        }
    }
    for (const QString& library : libraries) {
        const QString common = walk.child(walk.child(library, QStringLiteral("steamapps")), QStringLiteral("common"));
        if (!common.isEmpty()) {
            for (const QString& game : walk.list(common, Walk::Entries::Folders))
                walk.checkGame(common + u'/' + game, QStringLiteral("Steam"));
        }
    }
    for (const QString& library : libraries) {
        const QString compatdata = walk.child(walk.child(library, QStringLiteral("steamapps")), QStringLiteral("compatdata"));
        if (!compatdata.isEmpty()) {
            for (const QString& app : walk.list(compatdata, Walk::Entries::Folders))
                walk.searchPrefix(compatdata + u'/' + app + QStringLiteral("/pfx"), QStringLiteral("Proton"));
        }
    }

    const QString lutris = m_home + QStringLiteral("/.config/lutris/games");
    for (const QString& name : walk.list(lutris, Walk::Entries::All)) {
        if (!name.endsWith(QStringLiteral(".yml")))
            continue;
        const QByteArray yaml = readSmallFile(lutris + u'/' + name);
        for (const QString& prefix : yamlValues(yaml, "prefix"))
            walk.searchPrefix(expandHome(prefix, m_home), QStringLiteral("Lutris"));
        for (const QString& folder : yamlValues(yaml, "game_path"))
            walk.searchFolder(expandHome(folder, m_home), QStringLiteral("Lutris"));
    }

    const QString heroic = m_home + QStringLiteral("/.config/heroic/GamesConfig");
    for (const QString& name : walk.list(heroic, Walk::Entries::All)) {
        if (!name.endsWith(QStringLiteral(".json")))
            continue;
        const QJsonObject games = QJsonDocument::fromJson(readSmallFile(heroic + u'/' + name)).object();
        for (const QJsonValue game : games) {
            const QString prefix = game.toObject().value(QStringLiteral("winePrefix")).toString();
            if (!prefix.isEmpty())
                walk.searchPrefix(expandHome(prefix, m_home), QStringLiteral("Heroic"));
        }
    }

    for (const char* root : {"/.local/share/bottles/bottles", "/.var/app/com.usebottles.bottles/data/bottles/bottles"}) {
        const QString bottles = m_home + QLatin1StringView(root);
        for (const QString& bottle : walk.list(bottles, Walk::Entries::Folders))
            walk.searchPrefix(bottles + u'/' + bottle, QStringLiteral("Bottles"));
    }

    const QString games = m_home + QStringLiteral("/Games");
    for (const QString& folder : walk.list(games, Walk::Entries::Folders))
        walk.searchFolder(games + u'/' + folder, QStringLiteral("Games"));

    return walk.installs;
}

std::optional<GameInstallSearch::Install> GameInstallSearch::newest(const QList<Install>& installs)
{
    if (installs.isEmpty())
        return std::nullopt;
    // On a tie the earlier place wins: the Wine prefix before the launchers.
    return *std::ranges::max_element(installs, [](const Install& a, const Install& b) { return a.modified < b.modified; });
}

QStringList GameInstallSearch::steamLibraries(const QByteArray& vdf)
{
    // Quoted strings in order; a library is the value after a "path" key, or
    // in the file's older form a path after a numbered key.
    QStringList strings;
    QList<int> lines;
    int line = 0;
    for (qsizetype i = 0; i < vdf.size(); ++i) {
        if (vdf[i] == '\n')
            ++line;
        if (vdf[i] != '"')
            continue;
        QByteArray text;
        for (++i; i < vdf.size() && vdf[i] != '"'; ++i) {
            if (vdf[i] == '\\' && i + 1 < vdf.size())
                ++i;
            text += vdf[i];
        }
        strings.append(QString::fromUtf8(text));
        lines.append(line);
    }
    QStringList libraries;
    for (qsizetype i = 0; i + 1 < strings.size(); ++i) {
        if (lines[i] != lines[i + 1])
            continue;
        const QString& key = strings[i];
        const QString& value = strings[i + 1];
        bool numbered = false;
        key.toInt(&numbered);
        if (key.compare(u"path", Qt::CaseInsensitive) == 0 || (numbered && value.startsWith(u'/'))) {
            libraries.append(value);
            ++i;
        }
    }
    return libraries;
}
