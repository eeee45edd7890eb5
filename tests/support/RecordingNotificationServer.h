#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace mervane::test {

/// A desktop's notification service as far as Mervane uses it: it remembers every
/// notification it was asked to show or close, numbers them from 101 and sends the
/// signals a service sends when told to. Export it with ExportScriptableContents.
class RecordingNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        uint id = 0;
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
    };
    QList<Shown> shown;
    /// The ids the client asked to close, in order.
    QList<uint> closed;
    /// While set, Notify answers with an error (a service that is there but fails).
    bool refusing = false;
    int refused = 0;

    /// What the service sends when the user clicks the notification's body.
    void click(uint id);

public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
        const QString& summary, const QString& body, const QStringList& actions, const QVariantMap& hints,
        int expireTimeout);
    Q_SCRIPTABLE void CloseNotification(uint id);
    Q_SCRIPTABLE QStringList GetCapabilities();
    /// Answered after every call sent to the server before it.
    Q_SCRIPTABLE void Barrier() { }

Q_SIGNALS:
    Q_SCRIPTABLE void ActionInvoked(uint id, const QString& actionKey);
    Q_SCRIPTABLE void NotificationClosed(uint id, uint reason);
    /// After every call the server recorded (not on the bus).
    void recorded();
};

} // namespace mervane::test
