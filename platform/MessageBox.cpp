#include "platform/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>

int MsgBox(QWidget* parent, const QString& prompt, int buttons, const QString& title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    box.setIcon((buttons & vbInformation) ? QMessageBox::Information : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return vbOK;
}
