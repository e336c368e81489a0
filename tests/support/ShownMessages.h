#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

// What the player saw of a message box.
struct ShownMessage
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Does what the player does and reads every message box that shows, closing
// each as the player would who presses Enter: with its default button. Polled:
// some actions spin the event loop before their box opens.
inline QList<ShownMessage> messagesShownBy(const std::function<void()>& action)
{
    QList<ShownMessage> shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            QPushButton* preferred = box->defaultButton();
            shown.append({box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                          preferred ? box->standardButton(preferred) : QMessageBox::NoButton});
            preferred ? preferred->click() : box->accept();
        }
    });
    watcher.start(10);
    action();
    return shown;
}
