#pragma once

#include <QChar>
#include <QList>
#include <QProcessEnvironment>
#include <QString>

// The Wine prefix the game runs in on Linux: $WINEPREFIX, else ~/.wine. Its
// drives are the dosdevices/<letter>: links, each naming the folder that
// stands for that drive's root.
class WinePrefix
{
public:
    struct Drive
    {
        QChar letter; // lower case, as in dosdevices
        QString folder; // the folder the link resolves to
    };

    explicit WinePrefix(QString folder);
    static WinePrefix fromEnvironment(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    QString folder() const { return m_folder; }

    // The drives whose links resolve to an existing folder, a to z.
    QList<Drive> drives() const;

    // The folder behind one drive letter (either case); empty when the prefix
    // has no such drive or its link leads nowhere.
    QString driveFolder(QChar letter) const;

private:
    QString m_folder;
};
