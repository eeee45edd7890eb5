#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

namespace mervane::test {

/// The echo server (echo_server.py) in its own process for the life of this object: every
/// request is answered with a JSON description of what arrived (see the script for the
/// routes and keys). Construction waits until the server listens; `isRunning()` is false
/// when it could not be started, with the reason added as a test failure.
class EchoServer {
public:
    EchoServer()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"), { QStringLiteral(MERVANE_ECHO_SERVER_SCRIPT) });
        if (!m_process.waitForStarted()) {
            ADD_FAILURE() << "the echo server did not start: " << m_process.errorString().toStdString();
            return;
        }
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(30000);
        bool ok = false;
        m_port = m_process.readLine().trimmed().toInt(&ok);
        if (!ok || m_port <= 0) {
            ADD_FAILURE() << "the echo server printed no port";
            m_port = 0;
        }
    }

    ~EchoServer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        // Closing its input ends the server; a kill covers one that hangs.
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    EchoServer(const EchoServer&) = delete;
    EchoServer& operator=(const EchoServer&) = delete;

    bool isRunning() const { return m_port > 0 && m_process.state() == QProcess::Running; }
    int port() const { return m_port; }
    /// "http://127.0.0.1:<port>" followed by `pathAndQuery` as given (already encoded).
    QString urlString(const QString& pathAndQuery = QStringLiteral("/")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(pathAndQuery);
    }
    QUrl url(const QString& pathAndQuery = QStringLiteral("/")) const
    {
        return QUrl(urlString(pathAndQuery), QUrl::StrictMode);
    }

private:
    QProcess m_process;
    int m_port = 0;
};

} // namespace mervane::test
