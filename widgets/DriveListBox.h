#pragma once

#include "game/DriveCatalog.h"

#include <QComboBox>
#include <QHash>

// A drop-down list of the machine's drives. Like the classic one it knows
// each drive's current folder: the last folder opened on it during this run,
// else its root.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    // Empty until setDrives.
    explicit DriveListBox(QWidget* parent = nullptr);

    // Lists these drives and shows the one that holds startFolder, which
    // becomes that drive's current folder.
    void setDrives(const QList<DriveCatalog::Drive>& drives, const QString& startFolder);

    // Lists these drives after the others; the chosen drive stays chosen.
    void addDrives(const QList<DriveCatalog::Drive>& drives);

    // The chosen drive's designation: "C:" for a Wine drive, the mount point otherwise.
    QString drive() const;
    // The folder the chosen drive was last left in.
    QString driveFolder() const;
    // The folder that stands for the chosen drive's root, and how to show it:
    // "C:\" for a Wine drive, the mount point otherwise.
    QString driveRoot() const;
    QString rootCaption() const;

    // Records a folder opened as the current folder of the drive that holds
    // it, which becomes the chosen drive if it was not: the lists stay on a
    // drive that could not be read while this list moves on past it.
    void followFolder(const QString& folder);

    // A folder that is gone: a drive it was the root of leaves the list, the
    // drive chosen before it is chosen again, and no drive returns to it.
    void dropFolder(const QString& folder);

signals:
    // The player chose a drive; the one already chosen counts too, so that
    // choosing it takes the folder list back to its current folder.
    void Change();

private:
    void choose(int index);
    const DriveCatalog::Drive* chosenDrive() const;

    QList<DriveCatalog::Drive> m_drives;
    QHash<QString, QString> m_currentFolders; // by designation
    int m_chosen = -1;
    int m_previous = -1; // chosen before the last Change
};
