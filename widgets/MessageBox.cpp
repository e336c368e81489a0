#include "widgets/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>

int MsgBox(QWidget* parent, const QString& prompt, int buttons, const QString& title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    const int icon = buttons & 0x70;
    box.setIcon(icon == vbExclamation ? QMessageBox::Warning
                : icon == vbInformation ? QMessageBox::Information
                                        : QMessageBox::NoIcon);
    if ((buttons & 0x7) != vbYesNo) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return vbOK;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton((buttons & vbDefaultButton2) ? QMessageBox::No : QMessageBox::Yes);
    // Closing the box, or Esc, answers No: nothing happens unless asked for.
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes) ? vbYes : vbNo;
}
