#pragma once

#include <QHash>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace net {

/// Archive key naming the class of an archived serializer, so that one `fromArchive` can
/// restore any class of its family.
inline const QString archiveClassKey = QStringLiteral("$class");

template <class T> using ArchiveFactories = QHash<QString, std::function<std::shared_ptr<T>()>>;

/// A new object of the class `archive` names, made by its factory and then filled by
/// `restore(object, archive)`; null when `factories` knows no such class.
template <class T, class Restore>
std::shared_ptr<T> objectFromArchive(
    const QVariantMap& archive, const ArchiveFactories<T>& factories, Restore&& restore)
{
    const auto factory = factories.value(archive.value(archiveClassKey).toString());
    if (!factory)
        return nullptr;
    std::shared_ptr<T> object = factory();
    restore(*object, archive);
    return object;
}

} // namespace net
