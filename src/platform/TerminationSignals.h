#pragma once

#include "platform/Expected.h"

#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;

namespace platform {

/// Turns SIGTERM and SIGINT (logout, `kill`, Ctrl+C in a terminal) into
/// `QCoreApplication::quit()`, so that the application leaves through aboutToQuit and its
/// pending saves finish, instead of dying in the middle of one. The handler only writes a
/// byte to a socket pair; the quit happens on the main thread's event loop. One at a time;
/// the previous handlers come back when it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    /// Installs the handlers; an error text when the socket pair or a handler could not be
    /// made (then nothing is installed). Main thread, after the application object exists.
    static Expected<std::unique_ptr<TerminationSignals>> install();
    ~TerminationSignals() override;

signals:
    /// The signal that arrived, just before the application is asked to quit.
    void received(int signalNumber);

private:
    TerminationSignals(int readFd, int writeFd);
    void readSignals();

    int m_readFd;
    int m_writeFd;
    QSocketNotifier* m_notifier;
    struct sigaction m_previousTerm { };
    struct sigaction m_previousInt { };
};

} // namespace platform
