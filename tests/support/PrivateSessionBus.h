#pragma once

#include <QByteArray>
#include <QString>

class QProcess;

namespace mervane::test {

/// Starts `daemon` as a session bus of the test's own that starts no service on demand
/// (private-session-bus.conf next to this file). Returns the bus's address, or an empty one
/// with the reason in `error`. The caller stops the process.
QByteArray startPrivateSessionBus(QProcess& daemon, QString* error);

} // namespace mervane::test
