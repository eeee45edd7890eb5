#pragma once

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

namespace platform {

struct Notification {
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

/// A process-wide notification bus. Observers are called synchronously on the
/// posting thread, in the order they were added. An observer whose context
/// object has been destroyed is never called again and is dropped.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    /// Identifies one registration; 0 is never handed out.
    using Token = quint64;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    /// Registers `handler` for notifications called `name` (an empty name means every
    /// notification). With a non-null `object`, only notifications whose object equals
    /// it are delivered (QObject pointers compare by identity). `context` must be non-null; the registration
    /// ends with it.
    Token addObserver(QObject* context, const QString& name, Handler handler, const QVariant& object = {});

    void removeObserver(Token token);
    /// Removes every registration of `context`, or only those for `name` when given.
    void removeObserver(QObject* context, const QString& name = {});

    void post(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});

    /// Number of live registrations; for tests and diagnostics.
    int observerCount() const;

private:
    struct Entry {
        Token token = 0;
        QPointer<QObject> context;
        QString name;
        QVariant object;
        Handler handler;
        bool removed = false;
    };

    static bool objectsMatch(const QVariant& filter, const QVariant& object);
    void purgeDead();

    mutable QMutex m_mutex;
    std::vector<std::shared_ptr<Entry>> m_entries;
    Token m_nextToken = 1;
};

} // namespace platform
