#pragma once

#include "game/WinePrefix.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QList>
#include <QProcessEnvironment>
#include <QString>

#include <optional>

// Where a player's copy of the game keeps its multiplayer config: the Wine
// prefix, then each launcher's places in the order of the table in the .cpp
// file. Each place is looked at only a few folders deep, the big trees a
// prefix holds (windows, users) are never entered, and the search stops at
// its deadline, so it costs a handful of folder listings per place.
class GameInstallSearch
{
public:
    struct Install
    {
        QString source; // "Wine", "Steam", "Proton", "Lutris", "Heroic", "Bottles" or "Games"
        QString folder; // the folder that holds the config, spelt as on disk
        QString config; // the config itself, spelt as on disk
        QDateTime modified; // the config's last change
    };

    GameInstallSearch(QString home, WinePrefix prefix);
    static GameInstallSearch fromEnvironment(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // Every install found before the deadline, each config once, in the
    // order of the places; within one place in the order the names sort.
    QList<Install> find(QDeadlineTimer deadline) const;

    // The one the player most likely plays: the config changed last.
    static std::optional<Install> newest(const QList<Install>& installs);

    // The library folders a Steam libraryfolders.vdf names, in its order.
    static QStringList steamLibraries(const QByteArray& vdf);

private:
    QString m_home;
    WinePrefix m_prefix;
};
