#pragma once

#include "app/ModeSwitching.h"
#include "game/DriveCatalog.h"
#include "game/GameInstallSearch.h"
#include "platform/RuntimeError.h"

#include <QThread>
#include <QWidget>

#include <optional>
#include <span>

class QComboBox;
class QPushButton;
class TextBox;
class PictureBox;
class DriveListBox;
class DirListBox;
class FileListBox;

// The program's one window. It is built from the control table, and its whole
// state lives in its controls: texts, lists and which of them are shown.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // The locator lists start at startFolder, on the one of drives that holds it.
    Form1(const QString& startFolder, const QList<DriveCatalog::Drive>& drives, QWidget* parent = nullptr);

    // Looks for the copies of the game in the background, once the window is
    // up, lists each in the drive list as a drive of its own, and keeps them
    // for the save; at idle priority from start, so that the window is drawn
    // first.
    void findGameDrives(QThread::Priority priority = QThread::IdlePriority);

signals:
    // The copies of the game are found and listed.
    void gameCopiesFound();
    // A save has ended, written or not, and what went wrong was shown.
    void saveFinished();

private:
    void createControls();
    void nameForScreenReaders();
    void openStartFolder(const QString& startFolder, const QList<DriveCatalog::Drive>& drives);
    void addGameCopies(const QList<GameInstallSearch::Install>& installs);
    void arrangeTabOrder();
    void connectHandlers();

    void Form_Load();

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void showAndHide(std::span<const VisibilityStep> steps);
    bool isBindMode() const;

    // The line a save would add now.
    QString composedLine() const;
    void copyConsoleCommand();

    void Command1_Click();
    void save(const QString& typed, const QString& line);
    void endSave(const std::optional<RuntimeError>& failure);
    void showSaveTarget();
    void Command4_Click();

    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();

    QComboBox* m_combo1 = nullptr;
    QComboBox* m_combo2 = nullptr;
    TextBox* m_text1 = nullptr;
    TextBox* m_text3 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command4 = nullptr;
    DriveListBox* m_drive1 = nullptr;
    DirListBox* m_dir1 = nullptr;
    FileListBox* m_file1 = nullptr;
    PictureBox* m_picture1 = nullptr;
    PictureBox* m_picture3 = nullptr;

    // What the search started with the window found, once it is done.
    std::optional<QList<GameInstallSearch::Install>> m_gameCopies;
    bool m_saving = false;
};
