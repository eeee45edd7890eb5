#pragma once

#include "support/LocalHttpServer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace mervane::test {

/// Redirect chains on the path "/hop" of a server, for tests of request bodies that are sent
/// again: "/hop?n=<n>&via=<status>,<status>,..." answers each status in turn with a Location
/// to the rest of the chain, then 200 "done". Every request is counted, and each whose body is
/// not `bodyOf(n)` (nothing for a GET, as after a 303) is noted. Thread-safe.
class RedirectHops {
public:
    RedirectHops(LocalHttpServer& server, std::function<QByteArray(int n)> bodyOf);

    /// The path of request `n` through the statuses `via` ("307,308").
    static QString path(int n, const QString& via);
    /// Requests the server has answered on "/hop".
    int arrived() const;
    /// "n: METHOD with B bytes" for each request whose body was not the one expected.
    QStringList wrongBodies() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace mervane::test
