#pragma once

#include <QComboBox>

// A drop-down list of the machine's drives.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget* parent = nullptr);
};
