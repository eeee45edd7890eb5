#pragma once

// The notification names the data model posts. Every name is declared here and
// nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// Posted (no object) when the store's model was replaced or reloaded.
inline const QString dataReFetched = QStringLiteral("dataReFetched");

} // namespace notifications
