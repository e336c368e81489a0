#pragma once

#include <QListWidget>

// A folder list: the open folder's ancestors from the drive's root down, the
// open folder, then its sub-folders, each a step further in. The tree never
// reaches above the drive's root, so it always agrees with the drive list.
// A click only selects a folder; a double click or Enter opens it. Nothing
// folds, so a list whose rows are indented by their depth draws the tree.
class DirListBox : public QListWidget
{
    Q_OBJECT

public:
    // The steps a row lies below the drive's root.
    static constexpr int DepthRole = Qt::UserRole + 1;

    // Shows nothing until setPath: where it starts depends on the drive list,
    // and a folder listed only to be replaced is listed in vain.
    explicit DirListBox(QWidget* parent = nullptr);

    // The open folder; a root ends with the separator, any other folder does not.
    QString path() const;

    // Opens the folder and fires Change. A folder that cannot be read leaves
    // the list as it was, reports why through openFailed and returns false;
    // one that is gone then also leaves the list, and folderVanished says so.
    // A folder beyond the drive's root puts the tree on the file system's root.
    bool setPath(const QString& folder);

    // Opens a folder on another drive as setPath does; from then on the tree
    // starts at that drive's root, captioned as the drive list names it.
    bool setDrivePath(const QString& root, const QString& rootCaption, const QString& folder);

signals:
    // The open folder changed, by the player or by setPath.
    void Change();
    void openFailed(const QString& problem);
    void folderVanished(const QString& folder);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFolder(const QString& folder, const QStringList& subfolders);
    void showOpenFolder();
    void openItem(const QListWidgetItem* item);

    QString m_path;
    QString m_root;
    QString m_rootCaption;
};
