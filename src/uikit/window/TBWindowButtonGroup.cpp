#include "uikit/window/TBWindowButtonGroup.h"

#include "platform/NotificationCenter.h"

#include <QHash>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QHash<QString, std::shared_ptr<TBWindowButtonGroup>>& registry()
{
    static QHash<QString, std::shared_ptr<TBWindowButtonGroup>> groups;
    return groups;
}

} // namespace

QString TBWindowButtonGroup::defaultIdentifier()
{
    return u"TBWindowButtonGroup.default"_s;
}

TBWindowButtonGroup* TBWindowButtonGroup::groupWithIdentifier(const QString& identifier)
{
    const QString key = identifier.isNull() ? defaultIdentifier() : identifier;
    auto& groups = registry();
    auto found = groups.find(key);
    if (found == groups.end())
        found = groups.insert(key, std::shared_ptr<TBWindowButtonGroup>(new TBWindowButtonGroup(key)));
    return found.value().get();
}

TBWindowButtonGroup::TBWindowButtonGroup(const QString& identifier) : m_identifier(identifier)
{
}

void TBWindowButtonGroup::setNumberOfCaptures(qint64 count)
{
    if (count < 0 || count == m_numberOfCaptures)
        return;
    m_numberOfCaptures = count;
    platform::NotificationCenter::defaultCenter().post(
        QString::fromLatin1(kTBWindowButtonGroupDidUpdateRolloverStateNotification),
        QVariant::fromValue<QObject*>(this));
}

void TBWindowButtonGroup::didCaptureMousePointer()
{
    setNumberOfCaptures(m_numberOfCaptures + 1);
}

void TBWindowButtonGroup::didReleaseMousePointer()
{
    setNumberOfCaptures(m_numberOfCaptures - 1);
}

void TBWindowButtonGroup::resetMouseCaptures()
{
    setNumberOfCaptures(0);
}
