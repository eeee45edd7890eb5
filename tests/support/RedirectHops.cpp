#include "support/RedirectHops.h"

#include <QMutex>
#include <QMutexLocker>
#include <QUrl>
#include <QUrlQuery>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

struct RedirectHops::State {
    std::function<QByteArray(int)> bodyOf;
    std::atomic<int> arrived = 0;
    mutable QMutex mutex;
    QStringList wrongBodies;
};

RedirectHops::RedirectHops(LocalHttpServer& server, std::function<QByteArray(int n)> bodyOf)
    : m_state(std::make_shared<State>())
{
    m_state->bodyOf = std::move(bodyOf);
    server.setHandler(u"/hop"_s, [state = m_state](const LocalHttpServer::Request& request) {
        const QUrlQuery query(QUrl::fromEncoded(request.path));
        const int n = query.queryItemValue(u"n"_s).toInt();
        if (request.body != (request.method == "POST" ? state->bodyOf(n) : QByteArray())) {
            QMutexLocker locker(&state->mutex);
            state->wrongBodies.append(u"%1: %2 with %3 bytes"_s.arg(n).arg(
                QString::fromLatin1(request.method), QString::number(request.body.size())));
        }
        ++state->arrived;
        QStringList via = query.queryItemValue(u"via"_s).split(u',', Qt::SkipEmptyParts);
        if (via.isEmpty())
            return LocalHttpServer::Reply { 200, {}, "done" };
        const int status = via.takeFirst().toInt();
        return LocalHttpServer::Reply { status, { { "Location", path(n, via.join(u',')).toLatin1() } }, {} };
    });
}

QString RedirectHops::path(int n, const QString& via)
{
    return u"/hop?n=%1&via=%2"_s.arg(n).arg(via);
}

int RedirectHops::arrived() const
{
    return m_state->arrived;
}

QStringList RedirectHops::wrongBodies() const
{
    QMutexLocker locker(&m_state->mutex);
    return m_state->wrongBodies;
}

} // namespace mervane::test
