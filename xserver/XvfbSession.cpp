#include "xserver/XvfbSession.h"

XvfbSession::XvfbSession() = default;

XvfbSession::~XvfbSession()
{
    m_server.terminate();
    if (!m_server.waitForFinished(3000))
        m_server.kill();
}

bool XvfbSession::start(const QString& screen)
{
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Without -noreset the server resets each time its last client goes, and a
    // program started in that instant cannot connect.
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
    QByteArray number;
    while (!number.contains('\n') && m_server.waitForReadyRead(10000))
        number += m_server.readAllStandardOutput();
    m_display = number.contains('\n') ? u':' + QString::fromLatin1(number.trimmed()) : QString();
    return !m_display.isEmpty();
}

bool XvfbSession::startForThisProcess()
{
    if (!start())
        return false;
    qputenv("DISPLAY", m_display.toLatin1());
    qunsetenv("QT_QPA_PLATFORM");
    return true;
}

QProcessEnvironment XvfbSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}
