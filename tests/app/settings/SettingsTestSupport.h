#pragma once

#include "app/settings/NWSettingsViewController.h"
#include "platform/NotificationCenter.h"
#include "support/SharedStoreTest.h"

#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace mervane::test {

/// The keychain, the reminders and the picker the settings reach, kept in memory.
struct FakeSettingsWorld {
    QString password;
    QString hint;
    /// Each store's pair, in order.
    QList<QPair<QString, QString>> stores;
    std::optional<QString> storeFailure;
    std::optional<QString> unavailable;
    QList<QDateTime> reminders;
    QList<QList<GenericSelectionRecord>> pickersMade;

    SettingsServices services()
    {
        SettingsServices services;
        services.password.password = [this] { return password; };
        services.password.hint = [this] { return hint; };
        services.password.setPasswordAndHint
            = [this](const QString& p, const QString& h) -> platform::MaybeError {
            if (storeFailure)
                return storeFailure;
            stores.append({ p, h });
            password = p;
            hint = h;
            return std::nullopt;
        };
        services.password.unavailableReason = [this] { return unavailable; };
        services.reminder.firstScheduledDate = [this]() -> std::optional<QDateTime> {
            return reminders.isEmpty() ? std::nullopt : std::optional(reminders.first());
        };
        services.reminder.schedule = [this](const QDateTime& date) { reminders.append(date); };
        services.reminder.removeFirst = [this] {
            if (!reminders.isEmpty())
                reminders.removeFirst();
        };
        services.newPicker = [this](const QList<GenericSelectionRecord>& records, const QString& title) {
            pickersMade.append(records);
            auto* picker = new QWidget;
            picker->setObjectName(title);
            picker->resize(200, 300);
            return picker;
        };
        return services;
    }
};

class SettingsTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_context, {}, [this](const platform::Notification& n) { posted.append(n.name); });
    }

    std::unique_ptr<NWSettingsViewController> openSettings()
    {
        auto settings = std::make_unique<NWSettingsViewController>(world.services());
        settings->show();
        QCoreApplication::processEvents();
        return settings;
    }
    template <typename T> static T* child(const QWidget& parent, const QString& name)
    {
        auto* found = parent.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }

    FakeSettingsWorld world;
    QStringList posted;

private:
    QObject m_context;
};

} // namespace mervane::test
