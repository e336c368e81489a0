#include "widgets/DriveListBox.h"

#include "platform/FolderListing.h"

#include <QDir>
#include <QSignalBlocker>

DriveListBox::DriveListBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    // activated, not currentIndexChanged: only the player's choice is a Change,
    // whether by mouse, wheel or keyboard.
    connect(this, &QComboBox::activated, this, &DriveListBox::choose);
}

void DriveListBox::setDrives(const QList<DriveCatalog::Drive>& drives, const QString& startFolder)
{
    const QSignalBlocker blocker(this);
    clear();
    m_drives.clear();
    m_currentFolders.clear();
    addDrives(drives);

    const QString folder = FolderListing::normalFolder(startFolder);
    m_chosen = DriveCatalog::driveHolding(m_drives, folder);
    m_previous = m_chosen;
    setCurrentIndex(m_chosen);
    if (const DriveCatalog::Drive* drive = chosenDrive())
        m_currentFolders.insert(drive->designation, folder);
}

void DriveListBox::addDrives(const QList<DriveCatalog::Drive>& drives)
{
    m_drives += drives;
    for (const DriveCatalog::Drive& drive : drives)
        addItem(drive.caption);
}

QString DriveListBox::drive() const
{
    const DriveCatalog::Drive* chosen = chosenDrive();
    return chosen ? chosen->designation : QString();
}

QString DriveListBox::driveFolder() const
{
    const DriveCatalog::Drive* chosen = chosenDrive();
    if (!chosen)
        return {};
    return QDir::toNativeSeparators(m_currentFolders.value(chosen->designation, chosen->root));
}

QString DriveListBox::driveRoot() const
{
    const DriveCatalog::Drive* chosen = chosenDrive();
    return chosen ? chosen->root : QString();
}

QString DriveListBox::rootCaption() const
{
    const DriveCatalog::Drive* chosen = chosenDrive();
    if (!chosen)
        return {};
    // A mount is named by its own folder; a Wine drive by its letter.
    if (chosen->designation == chosen->root)
        return QDir::toNativeSeparators(chosen->root);
    return chosen->designation + u'\\';
}

void DriveListBox::followFolder(const QString& folder)
{
    const QString normal = FolderListing::normalFolder(folder);
    const DriveCatalog::Drive* chosen = chosenDrive();
    if (!chosen || !FolderListing::holds(chosen->root, normal)) {
        const QSignalBlocker blocker(this);
        m_chosen = DriveCatalog::driveHolding(m_drives, normal);
        setCurrentIndex(m_chosen);
        chosen = chosenDrive();
    }
    if (chosen)
        m_currentFolders.insert(chosen->designation, normal);
}

void DriveListBox::dropFolder(const QString& folder)
{
    m_currentFolders.removeIf([&](const auto& current) { return FolderListing::holds(folder, current.value()); });
    const QSignalBlocker blocker(this);
    for (int i = int(m_drives.size()) - 1; i >= 0; --i) {
        if (m_drives[i].root != folder)
            continue;
        m_drives.removeAt(i);
        removeItem(i);
        m_previous = m_previous == i ? -1 : m_previous - (m_previous > i);
        m_chosen = m_chosen == i ? m_previous : m_chosen - (m_chosen > i);
    }
    setCurrentIndex(m_chosen);
}

void DriveListBox::choose(int index)
{
    m_previous = m_chosen;
    m_chosen = index;
    emit Change();
}

const DriveCatalog::Drive* DriveListBox::chosenDrive() const
{
    if (m_chosen < 0 || m_chosen >= m_drives.size())
        return nullptr;
    return &m_drives[m_chosen];
}
