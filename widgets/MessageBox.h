#pragma once

#include <QString>

class QWidget;

// The classic message box: a prompt, a buttons-and-icon value and an optional
// title. Without a title the box carries the application's display name.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbYes = 6,
    vbNo = 7,
};

int MsgBox(QWidget* parent, const QString& prompt, int buttons = vbOKOnly, const QString& title = {});
