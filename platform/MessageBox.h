#pragma once

#include <QString>

class QWidget;

// The classic message box: a prompt, a buttons-and-icon value and an optional
// title. Without a title the box carries the application's display name.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbInformation = 64,
};

enum MsgBoxResult : int {
    vbOK = 1,
};

int MsgBox(QWidget* parent, const QString& prompt, int buttons = vbOKOnly, const QString& title = {});
