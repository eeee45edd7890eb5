#include "app/settings/SettingsServices.h"

#include "app/AppNotifications.h"
#include "app/lock/PasswordStore.h"
#include "app/selection/GenericSelectionVC.h"
#include "platform/Strings.h"
#include "platform/UserNotifications.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString reminderIdentifier = u"MonthlyNetWorthReminder"_s;

std::optional<platform::UserNotification> firstScheduled()
{
    const auto scheduled = platform::UserNotificationCenter::defaultCenter().scheduledNotifications();
    if (scheduled.isEmpty())
        return std::nullopt;
    return scheduled.first();
}

} // namespace

SettingsServices SettingsServices::standard()
{
    SettingsServices services;
    services.password.read = [](QObject* context, auto done) {
        PasswordStore::read(context, [done](const platform::Expected<PasswordStore::Stored>& stored) {
            if (!stored)
                return done(platform::Unexpected(stored.error()));
            done(Password::Stored { !stored->password.isEmpty(), stored->hint });
        });
    };
    services.password.setPasswordAndHint = &PasswordStore::setPasswordAndHint;
    services.reminder.firstScheduledDate = []() -> std::optional<QDateTime> {
        const auto first = firstScheduled();
        return first ? std::optional(first->deliveryDate) : std::nullopt;
    };
    services.reminder.schedule = [](const QDateTime& date) {
        platform::UserNotificationCenter::defaultCenter().scheduleNotification(
            platform::UserNotification { reminderIdentifier, platform::Strings::tr("Mervane"),
                platform::Strings::tr("It is time to log your monthly net worth records."), date });
    };
    services.reminder.removeFirst = [] {
        if (const auto first = firstScheduled())
            platform::UserNotificationCenter::defaultCenter().removeScheduledNotification(first->identifier);
    };
    services.newPicker = [](const QList<GenericSelectionRecord>& records, const QString& title) -> QWidget* {
        auto* picker = new GenericSelectionVC;
        picker->setSelectionRecords(records);
        picker->setUnknownImageName(QString());
        picker->setMultiSelect(false);
        picker->setRadius(0);
        picker->setBorderWidth(0);
        picker->setViewTitle(title);
        picker->reloadData();
        return picker;
    };
    return services;
}
