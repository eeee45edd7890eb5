#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QString>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

// Read by the handler; only ever set while no handler of ours is installed.
std::atomic<int> g_writeFd = -1;

void onSignal(int signalNumber)
{
    // Async-signal-safe: one write, errno kept. A full socket already holds a quit request.
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_writeFd.load(), &byte, 1);
    errno = savedErrno;
}

QString systemError(const char* what)
{
    return u"%1: %2"_s.arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

Expected<std::unique_ptr<TerminationSignals>> TerminationSignals::install()
{
    Q_ASSERT(g_writeFd.load() == -1);
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return Unexpected(systemError("socketpair"));
    ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    std::unique_ptr<TerminationSignals> handler(new TerminationSignals(fds[0], fds[1]));

    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    g_writeFd.store(fds[1]);
    if (::sigaction(SIGTERM, &action, &handler->m_previousTerm) != 0) {
        const QString error = systemError("sigaction SIGTERM");
        g_writeFd.store(-1);
        return Unexpected(error);
    }
    if (::sigaction(SIGINT, &action, &handler->m_previousInt) != 0) {
        const QString error = systemError("sigaction SIGINT");
        ::sigaction(SIGTERM, &handler->m_previousTerm, nullptr);
        g_writeFd.store(-1);
        return Unexpected(error);
    }
    return handler;
}

TerminationSignals::TerminationSignals(int readFd, int writeFd)
    : m_readFd(readFd)
    , m_writeFd(writeFd)
    , m_notifier(new QSocketNotifier(readFd, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
}

TerminationSignals::~TerminationSignals()
{
    if (g_writeFd.load() == m_writeFd) {
        ::sigaction(SIGTERM, &m_previousTerm, nullptr);
        ::sigaction(SIGINT, &m_previousInt, nullptr);
        g_writeFd.store(-1);
    }
    delete m_notifier;
    ::close(m_readFd);
    ::close(m_writeFd);
}

void TerminationSignals::readSignals()
{
    char bytes[16];
    const ssize_t count = ::read(m_readFd, bytes, sizeof bytes);
    for (ssize_t i = 0; i < count; ++i)
        emit received(static_cast<unsigned char>(bytes[i]));
    if (count > 0)
        QCoreApplication::quit();
}

} // namespace platform
