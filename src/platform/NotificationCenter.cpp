#include "platform/NotificationCenter.h"

#include <QMutexLocker>

#include <algorithm>

namespace platform {

namespace {

QObject* asQObject(const QVariant& value)
{
    if (value.metaType().flags().testFlag(QMetaType::PointerToQObject))
        return *static_cast<QObject* const*>(value.constData());
    return nullptr;
}

} // namespace

bool NotificationCenter::objectsMatch(const QVariant& filter, const QVariant& object)
{
    if (filter.isNull())
        return true;
    // Pointers to QObjects match by identity, whatever class the variant was made with.
    if (QObject* filterObject = asQObject(filter))
        return filterObject == asQObject(object);
    return filter == object;
}

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(
    QObject* context, const QString& name, Handler handler, const QVariant& object)
{
    Q_ASSERT(context);
    if (!context || !handler)
        return 0;
    auto entry = std::make_shared<Entry>();
    entry->context = context;
    entry->name = name;
    entry->object = object;
    entry->handler = std::move(handler);

    QMutexLocker lock(&m_mutex);
    purgeDead();
    entry->token = m_nextToken++;
    m_entries.push_back(entry);
    return entry->token;
}

void NotificationCenter::removeObserver(Token token)
{
    QMutexLocker lock(&m_mutex);
    for (auto& entry : m_entries) {
        if (entry->token == token)
            entry->removed = true;
    }
    purgeDead();
}

void NotificationCenter::removeObserver(QObject* context, const QString& name)
{
    QMutexLocker lock(&m_mutex);
    for (auto& entry : m_entries) {
        if (entry->context == context && (name.isEmpty() || entry->name == name))
            entry->removed = true;
    }
    purgeDead();
}

void NotificationCenter::post(const QString& name, const QVariant& object, const QVariantMap& userInfo)
{
    std::vector<std::shared_ptr<Entry>> targets;
    {
        QMutexLocker lock(&m_mutex);
        for (const auto& entry : m_entries) {
            if (entry->removed || entry->context.isNull())
                continue;
            if (!entry->name.isEmpty() && entry->name != name)
                continue;
            if (!objectsMatch(entry->object, object))
                continue;
            targets.push_back(entry);
        }
    }

    const Notification note { name, object, userInfo };
    for (const auto& entry : targets) {
        // An earlier handler may have removed this one or destroyed its context.
        if (entry->removed || entry->context.isNull())
            continue;
        entry->handler(note);
    }
}

int NotificationCenter::observerCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_entries.begin(), m_entries.end(),
        [](const auto& entry) { return !entry->removed && !entry->context.isNull(); }));
}

void NotificationCenter::purgeDead()
{
    std::erase_if(m_entries, [](const auto& entry) { return entry->removed || entry->context.isNull(); });
}

} // namespace platform
