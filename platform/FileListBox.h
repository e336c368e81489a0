#pragma once

#include <QListWidget>

// The names of the files in one folder.
class FileListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget* parent = nullptr);
};
