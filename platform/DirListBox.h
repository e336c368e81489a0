#pragma once

#include <QTreeWidget>

// A folder list: the open folder's ancestors from the root down, the open
// folder, then its sub-folders, each a step further in. A click only selects
// a folder; a double click or Enter opens it.
class DirListBox : public QTreeWidget
{
    Q_OBJECT

public:
    // Opens the current folder.
    explicit DirListBox(QWidget* parent = nullptr);

    // The open folder; a root ends with the separator, any other folder does not.
    QString path() const;

    // Opens the folder and fires Change. A folder that cannot be read leaves
    // the list as it was, reports why through openFailed and returns false.
    bool setPath(const QString& folder);

signals:
    // The open folder changed, by the player or by setPath.
    void Change();
    void openFailed(const QString& problem);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void showFolder(const QString& folder, const QStringList& subfolders);
    void showOpenFolder();
    void openItem(const QTreeWidgetItem* item);

    QString m_path;
};
