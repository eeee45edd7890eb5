#pragma once

// The notification names the printed reports post.

#include <QString>

namespace notifications {

/// The report choice asks for a report (object: the report kind as an int, 0 the statement,
/// 1 assets, 2 liabilities, 3 tags); the shell prints it on a later turn of the event loop.
inline const QString print = QStringLiteral("PrintNotification");

} // namespace notifications
