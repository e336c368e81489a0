#include "platform/FileListBox.h"

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent)
{
}
