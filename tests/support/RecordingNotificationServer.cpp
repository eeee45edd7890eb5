#include "support/RecordingNotificationServer.h"

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

void RecordingNotificationServer::click(uint id)
{
    Q_EMIT ActionInvoked(id, u"default"_s);
}

uint RecordingNotificationServer::Notify(const QString& appName, uint replacesId, const QString& appIcon,
    const QString& summary, const QString& body, const QStringList& actions, const QVariantMap& hints,
    int expireTimeout)
{
    Q_UNUSED(replacesId)
    Q_UNUSED(expireTimeout)
    if (refusing) {
        ++refused;
        sendErrorReply(QDBusError::Failed, u"The notification cannot be shown now."_s);
        Q_EMIT recorded();
        return 0;
    }
    const uint id = uint(101 + shown.size());
    shown.append({ id, appName, appIcon, summary, body, actions, hints });
    Q_EMIT recorded();
    return id;
}

void RecordingNotificationServer::CloseNotification(uint id)
{
    closed.append(id);
    // Reason 3: closed by a call to CloseNotification.
    Q_EMIT NotificationClosed(id, 3);
    Q_EMIT recorded();
}

QStringList RecordingNotificationServer::GetCapabilities()
{
    return { u"actions"_s, u"body"_s };
}

} // namespace mervane::test
