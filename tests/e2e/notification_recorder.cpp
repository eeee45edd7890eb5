// A desktop's notification service for the end-to-end tests. It takes the service's name on
// the session bus, writes every call it gets to a log file, one line each, and on request
// clicks a notification: it sends the click to the program that showed it and, when asked,
// starts the program its desktop entry names, as a desktop does for a program not running.
//
//   notification_recorder <log file>
//   dbus-send --session --dest=org.freedesktop.Notifications /recorder
//       net.mervane.test.NotificationRecorder.Click uint32:<id> boolean:<start the program>

#include "support/RecordingNotificationServer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using mervane::test::RecordingNotificationServer;

namespace {

/// The Exec line of the file's main group, without its field codes (%f, %U, ...).
QStringList execOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inMainGroup = false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == u"[Desktop Entry]"_s;
        else if (inMainGroup && line.startsWith(u"Exec="_s)) {
            QStringList words = QProcess::splitCommand(line.mid(5));
            words.removeIf([](const QString& word) { return word.size() == 2 && word.startsWith(u'%'); });
            return words;
        }
    }
    return {};
}

class Recorder : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.mervane.test.NotificationRecorder")
public:
    Recorder(RecordingNotificationServer& server, QFile& log) : m_server(server), m_log(log)
    {
        connect(&server, &RecordingNotificationServer::recorded, this, &Recorder::writeNew);
    }

    void write(const QString& line)
    {
        m_log.write((line + u'\n').toUtf8());
        m_log.flush();
    }

public Q_SLOTS:
    Q_SCRIPTABLE void Click(uint id, bool startProgram)
    {
        write(u"Click id=%1"_s.arg(id));
        m_server.click(id);
        if (!startProgram)
            return;
        const auto it = std::find_if(m_server.shown.cbegin(), m_server.shown.cend(),
            [id](const RecordingNotificationServer::Shown& shown) { return shown.id == id; });
        const QString entry
            = it == m_server.shown.cend() ? QString() : it->hints.value(u"desktop-entry"_s).toString();
        // Where a desktop looks: the user's data folder first, then the system's.
        const QString path = entry.isEmpty()
            ? QString()
            : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry + u".desktop"_s);
        const QStringList exec = path.isEmpty() ? QStringList() : execOf(path);
        if (exec.isEmpty()) {
            write(u"NoLauncher entry=%1"_s.arg(entry));
            return;
        }
        const QString program = QStandardPaths::findExecutable(exec.first());
        const bool started = !program.isEmpty() && QProcess::startDetached(program, exec.mid(1));
        write(u"%1 launcher=%2 program=%3"_s.arg(started ? u"Started"_s : u"NotStarted"_s, path, program));
    }

private:
    void writeNew()
    {
        for (; m_notified < m_server.shown.size(); ++m_notified) {
            const RecordingNotificationServer::Shown& shown = m_server.shown.at(m_notified);
            write(u"Notify id=%1 app=%2 icon=%3 desktop-entry=%4 actions=%5 summary=%6 body=%7"_s.arg(
                QString::number(shown.id), shown.appName, shown.appIcon,
                shown.hints.value(u"desktop-entry"_s).toString(), shown.actions.join(u','), shown.summary,
                shown.body));
        }
        for (; m_closed < m_server.closed.size(); ++m_closed)
            write(u"Close id=%1"_s.arg(m_server.closed.at(m_closed)));
        for (; m_refused < m_server.refused; ++m_refused)
            write(u"Refused"_s);
    }

    RecordingNotificationServer& m_server;
    QFile& m_log;
    qsizetype m_notified = 0;
    qsizetype m_closed = 0;
    int m_refused = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: notification_recorder <log file>\n");
        return 2;
    }
    QFile log(QString::fromLocal8Bit(argv[1]));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    RecordingNotificationServer server;
    Recorder recorder(server, log);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(
            u"/org/freedesktop/Notifications"_s, &server, QDBusConnection::ExportScriptableContents)
        || !bus.registerObject(u"/recorder"_s, &recorder, QDBusConnection::ExportScriptableContents)
        || !bus.registerService(u"org.freedesktop.Notifications"_s)) {
        std::fprintf(stderr, "cannot take the notification service's name: %s\n",
            qPrintable(bus.lastError().message()));
        return 1;
    }
    recorder.write(u"Ready"_s);
    return app.exec();
}

#include "notification_recorder.moc"
