#include "game/GameInstallSearch.h"

#include "game/CaseBlindFolders.h"
#include "platform/FileStatus.h"
#include "platform/FolderListing.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <array>
#include <limits>

namespace {

using Install = GameInstallSearch::Install;
using Identity = std::pair<quint64, quint64>;

// Wine's own folders under drive_c and Program Files. They hold thousands of
// files and never the game, so they are never listed.
constexpr const char* WineOwnFolders[] = {
    "windows", "users", "ProgramData", "Common Files", "Internet Explorer", "Windows Media Player",
    "Windows NT", "Windows Defender", "Windows Mail", "Windows Photo Viewer", "Windows Sidebar",
    "WindowsPowerShell", "Microsoft.NET",
};

bool isWineOwnFolder(const QString& name)
{
    return std::ranges::any_of(WineOwnFolders, [&](const char* own) {
        return name.compare(QLatin1StringView(own), Qt::CaseInsensitive) == 0;
    });
}

// A launcher's settings file is small; anything bigger is not one.
constexpr qsizetype SettingsLimit = 1 << 20;

// Where the game may be: a Wine prefix, whose drive_c holds it a few folders
// down, or a folder that is the game's, holds games, or is a prefix.
struct Place
{
    enum class Kind { Prefix, Folder };
    Kind kind;
    QString path;
};

QString expandHome(QString path, const QString& home)
{
    if (path == u"~" || path.startsWith(u"~/"))
        path.replace(0, 1, home);
    return path;
}

// One walk over the places, with its deadline, the folders it has listed and
// those it has searched.
class Walk
{
public:
    Walk(QString home, QDeadlineTimer deadline)
        : home(std::move(home))
        , m_deadline(deadline)
    {
    }

    const QString home;
    QList<Install> installs;

    QString child(const QString& folder, const QString& name)
    {
        return m_deadline.hasExpired() ? QString() : m_folders.child(folder, name);
    }

    QStringList names(const QString& folder, FileStatus::Kind kind)
    {
        return m_deadline.hasExpired() ? QStringList() : m_folders.listing(folder).names(kind);
    }

    void search(const Place& place, const QString& source)
    {
        if (place.path.isEmpty())
            return;
        if (place.kind == Place::Kind::Prefix)
            searchPrefix(place.path, source);
        else
            searchFolder(place.path, source);
    }

    // Records the game when `folder` is its install folder.
    bool checkGame(const QString& folder, const QString& source)
    {
        const QString mp = child(child(folder, QStringLiteral("base")), QStringLiteral("mp"));
        const QString config = child(mp, QStringLiteral("sof2mp.cfg"));
        const FileStatus status = FileStatus::of(config);
        // A config that leads out of the game's folder, say a link to
        // ~/.bashrc, is no copy of the game's.
        if (!status.isFile()
            || !FolderListing::holds(FileStatus::canonicalPath(folder), FileStatus::canonicalPath(config)))
            return false;
        if (firstVisit(status.identity()))
            installs.append({source, mp, config, status.modified()});
        return true;
    }

    // The game's folder may lie up to three folders under drive_c, as in
    // Games/<publisher>/<game>, and as far under a Program Files folder.
    void searchPrefix(const QString& prefixFolder, const QString& source)
    {
        const QString driveC = child(prefixFolder, QStringLiteral("drive_c"));
        if (!driveC.isEmpty() && firstVisit(driveC))
            searchGames(driveC, GameDepth, source);
    }

    // A folder that may be a prefix, the game's folder or a folder of games.
    void searchFolder(const QString& folder, const QString& source)
    {
        if (FileStatus::of(folder + QStringLiteral("/drive_c")).isFolder()) {
            searchPrefix(folder, source);
            return;
        }
        if (!firstVisit(folder) || checkGame(folder, source))
            return;
        for (const QString& inner : names(folder, FileStatus::Kind::Folder))
            checkGame(folder + u'/' + inner, source);
    }

private:
    static constexpr int GameDepth = 3;

    void searchGames(const QString& folder, int depth, const QString& source)
    {
        QStringList folders = names(folder, FileStatus::Kind::Folder);
        folders.removeIf(isWineOwnFolder);
        for (const QString& name : folders) {
            const QString inner = folder + u'/' + name;
            const bool programFiles
                = depth == GameDepth && name.startsWith(QStringLiteral("Program Files"), Qt::CaseInsensitive);
            if (!checkGame(inner, source) && (depth > 1 || programFiles))
                searchGames(inner, programFiles ? depth : depth - 1, source);
        }
    }

    bool firstVisit(const QString& folder)
    {
        const FileStatus status = FileStatus::of(folder);
        return status.exists() && firstVisit(status.identity());
    }

    bool firstVisit(Identity id)
    {
        if (m_visited.contains(id))
            return false;
        m_visited.insert(id);
        return true;
    }

    QDeadlineTimer m_deadline;
    CaseBlindFolders m_folders;
    QSet<Identity> m_visited; // the prefixes and folders searched, the configs found
};

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

// The Steam folder and the other libraries its libraryfolders.vdf names.
QStringList steamLibraries(const QString& steam)
{
    return QStringList{steam}
           + GameInstallSearch::steamLibraries(
               RegularFile::read(steam + QStringLiteral("/steamapps/libraryfolders.vdf"), SettingsLimit));
}

QList<Place> steamGames(Walk& walk, const QString& steam)
{
    QList<Place> places;
    for (const QString& library : steamLibraries(steam))
        places.append({Place::Kind::Folder, walk.child(walk.child(library, QStringLiteral("steamapps")), QStringLiteral("common"))});
    return places;
}

QList<Place> protonPrefixes(Walk& walk, const QString& steam)
{
    QList<Place> places;
    for (const QString& library : steamLibraries(steam)) {
        const QString compatdata
            = walk.child(walk.child(library, QStringLiteral("steamapps")), QStringLiteral("compatdata"));
        for (const QString& app : walk.names(compatdata, FileStatus::Kind::Folder))
            places.append({Place::Kind::Prefix, compatdata + u'/' + app + QStringLiteral("/pfx")});
    }
    return places;
}

// A game's .yml has a game: section with the prefix of a Wine game, the
// folder it runs in and its executable (a full path, or one inside the game's
// folder, which is not named then).
QList<Place> lutrisGame(Walk& walk, const QString& file)
{
    QList<Place> places;
    const QByteArray yaml = RegularFile::read(file, SettingsLimit);
    for (const QString& prefix : yamlValues(yaml, "prefix"))
        places.append({Place::Kind::Prefix, expandHome(prefix, walk.home)});
    for (const char* key : {"working_dir", "game_path"}) {
        for (const QString& folder : yamlValues(yaml, key))
            places.append({Place::Kind::Folder, expandHome(folder, walk.home)});
    }
    for (QString exe : yamlValues(yaml, "exe")) {
        exe = expandHome(exe, walk.home);
        if (exe.startsWith(u'/'))
            places.append({Place::Kind::Folder, exe.first(exe.lastIndexOf(u'/'))});
    }
    return places;
}

// A game's .json holds one object, under the game's name, with its prefix.
QList<Place> heroicGame(Walk& walk, const QString& file)
{
    QList<Place> places;
    const QJsonObject games = QJsonDocument::fromJson(RegularFile::read(file, SettingsLimit)).object();
    for (const QJsonValue game : games)
        places.append({Place::Kind::Prefix, expandHome(game.toObject().value(QStringLiteral("winePrefix")).toString(), walk.home)});
    return places;
}

template<Place::Kind kind>
QList<Place> eachSubfolder(Walk& walk, const QString& folder)
{
    QList<Place> places;
    for (const QString& name : walk.names(folder, FileStatus::Kind::Folder))
        places.append({kind, folder + u'/' + name});
    return places;
}

// One row per launcher: the folders under the home where it keeps its games
// or its settings; the settings files there, by their ending, or none when
// the folder itself is read; and how to read either into places to search.
// The rows' order is the order of the results, and an earlier place wins a
// tie for the newest.
struct Source
{
    const char* name;
    std::array<const char*, 4> roots;
    const char* settingsEnding;
    QList<Place> (*places)(Walk& walk, const QString& path);
};

constexpr const char* SteamRoots[] = {".local/share/Steam", ".steam/steam",
                                      ".var/app/com.valvesoftware.Steam/.local/share/Steam"};

constexpr Source Sources[] = {
    {"Steam", {SteamRoots[0], SteamRoots[1], SteamRoots[2]}, nullptr, steamGames},
    {"Proton", {SteamRoots[0], SteamRoots[1], SteamRoots[2]}, nullptr, protonPrefixes},
    {"Lutris",
     {".config/lutris/games", ".local/share/lutris/games", ".var/app/net.lutris.Lutris/config/lutris/games",
      ".var/app/net.lutris.Lutris/data/lutris/games"},
     ".yml", lutrisGame},
    {"Heroic", {".config/heroic/GamesConfig", ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig"}, ".json",
     heroicGame},
    {"Bottles", {".local/share/bottles/bottles", ".var/app/com.usebottles.bottles/data/bottles/bottles"}, nullptr,
     eachSubfolder<Place::Kind::Prefix>},
    {"Games", {"Games"}, nullptr, eachSubfolder<Place::Kind::Folder>},
};

} // namespace

GameInstallSearch::GameInstallSearch(QString home, WinePrefix prefix)
    : m_home(std::move(home))
    , m_prefix(std::move(prefix))
{
}

GameInstallSearch GameInstallSearch::fromEnvironment(const QProcessEnvironment& environment)
{
    return GameInstallSearch(environment.value(QStringLiteral("HOME"), QDir::homePath()),
                             WinePrefix::fromEnvironment(environment));
}

QList<GameInstallSearch::Install> GameInstallSearch::find(QDeadlineTimer deadline) const
{
    Walk walk(m_home, deadline);
    walk.searchPrefix(m_prefix.folder(), QStringLiteral("Wine"));
    for (const Source& source : Sources) {
        const QString name = QString::fromLatin1(source.name);
        // A root reached again, as ~/.steam/steam usually reaches the first, is read once.
        QSet<Identity> roots;
        for (const char* root : source.roots) {
            const QString folder = m_home + u'/' + QLatin1StringView(root);
            const FileStatus status = root ? FileStatus::of(folder) : FileStatus();
            if (!status.isFolder() || roots.contains(status.identity()))
                continue;
            roots.insert(status.identity());
            QStringList paths{folder};
            if (source.settingsEnding) {
                paths = walk.names(folder, FileStatus::Kind::File);
                paths.removeIf([&](const QString& file) { return !file.endsWith(QLatin1StringView(source.settingsEnding)); });
                for (QString& file : paths)
                    file.prepend(folder + u'/');
            }
            for (const QString& path : paths) {
                for (const Place& place : source.places(walk, path))
                    walk.search(place, name);
            }
        }
    }
    return walk.installs;
}

std::optional<GameInstallSearch::Install> GameInstallSearch::newest(const QList<Install>& installs)
{
    if (installs.isEmpty())
        return std::nullopt;
    // A date in the future says nothing of when the copy was played: a backup
    // with a wrong clock would take every save. A day is allowed for the
    // hours by which a time written as local time on Windows may slip.
    const QDateTime future = QDateTime::currentDateTimeUtc().addDays(1);
    const auto played = [&](const Install& install) {
        return install.modified > future ? std::numeric_limits<qint64>::min() : install.modified.toMSecsSinceEpoch();
    };
    // On a tie the earlier place wins: the Wine prefix before the launchers.
    return *std::ranges::max_element(installs, [&](const Install& a, const Install& b) { return played(a) < played(b); });
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
