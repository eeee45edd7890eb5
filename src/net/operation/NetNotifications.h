#pragma once

#include <QString>

// Posted on the main thread with the operation (a QObject*) as object; nothing in the
// application observes them.
namespace notifications {

inline const QString operationDidStart = QStringLiteral("kitnet.networking.operation.start");
inline const QString operationDidFinish = QStringLiteral("kitnet.networking.operation.finish");

} // namespace notifications
