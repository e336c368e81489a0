#pragma once

#include <QProcess>
#include <QString>

// A private X server for tests that need a real window. Xvfb picks a free
// display number itself and tells it on its standard output.
class XvfbSession
{
public:
    XvfbSession();
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool start(const QString& screen = QStringLiteral("1024x768x24"));
    QString display() const { return m_display; }
    QProcessEnvironment environment() const; // the current one, with DISPLAY set
    // Starts the server and points this process at it, so that an application
    // made afterwards shows its windows there.
    bool startForThisProcess();

private:
    QProcess m_server;
    QString m_display;
};
