#pragma once

#include <QListView>

class QStringListModel;

// The names of the files in one folder, every file but hidden ones, sorted
// without regard to case. Selecting a file, by mouse or keyboard, is a Click.
// A plain string model keeps a folder of thousands of files quick to list.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    // Lists nothing until setPath.
    explicit FileListBox(QWidget* parent = nullptr);

    // The listed folder; a root ends with the separator, any other folder does not.
    QString path() const;

    // Lists the folder with nothing selected. A folder that cannot be read
    // leaves the list as it was, reports why through openFailed and returns false.
    bool setPath(const QString& folder);

    // The selected file's name without folder; empty when none is selected.
    QString fileName() const;

signals:
    void Click();
    void openFailed(const QString& problem);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringListModel* m_names;
    QString m_path;
};
