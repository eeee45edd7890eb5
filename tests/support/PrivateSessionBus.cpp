#include "support/PrivateSessionBus.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

QByteArray startPrivateSessionBus(QProcess& daemon, QString* error)
{
    constexpr int waitMs = 15000;
    const QString program = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (program.isEmpty()) {
        *error = u"dbus-daemon is not installed (package dbus of tools/debian-packages.txt)"_s;
        return {};
    }
    daemon.start(program,
        { u"--config-file=" MERVANE_TEST_SUPPORT_DIR "/private-session-bus.conf"_s, u"--nofork"_s,
            u"--print-address=1"_s });
    if (!daemon.waitForStarted(waitMs)) {
        *error = daemon.errorString();
        return {};
    }
    while (!daemon.canReadLine() && daemon.waitForReadyRead(waitMs)) { }
    const QByteArray address = daemon.readLine().trimmed();
    if (address.isEmpty())
        *error
            = u"the session bus gave no address: "_s + QString::fromLocal8Bit(daemon.readAllStandardError());
    return address;
}

} // namespace mervane::test
