#pragma once

#include <QListWidget>

// A folder list: the open folder's ancestors, the folder itself and its sub-folders.
class DirListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit DirListBox(QWidget* parent = nullptr);
};
