#pragma once

#include "app/settings/NWSettingsViewController.h"
#include "platform/NotificationCenter.h"
#include "support/SharedStoreTest.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace mervane::test {

/// The keychain, the reminders and the picker the settings reach, kept in memory.
struct FakeSettingsWorld {
    QString password;
    QString hint;
    /// Each store's pair, in order.
    QList<QPair<QString, QString>> stores;
    std::optional<QString> storeFailure;
    std::optional<QString> unavailable;
    /// The keychain's answers wait for `answerHeld` (the desktop's prompt is still open).
    bool holdAnswers = false;
    QList<std::function<void()>> held;
    QList<QDateTime> reminders;
    QList<QList<GenericSelectionRecord>> pickersMade;

    void answerHeld()
    {
        for (const auto& answer : std::exchange(held, {}))
            answer();
    }

    SettingsServices services()
    {
        SettingsServices services;
        // Like the keychain, the answers come on a later turn of the event loop.
        const auto later = [this](QObject* context, std::function<void()> answer) {
            if (holdAnswers)
                held.append([guard = QPointer<QObject>(context), answer] {
                    if (guard)
                        answer();
                });
            else
                QMetaObject::invokeMethod(context, std::move(answer), Qt::QueuedConnection);
        };
        services.password.read = [this, later](QObject* context, auto done) {
            later(context, [this, done] {
                if (unavailable)
                    return done(platform::Unexpected(*unavailable));
                done(SettingsServices::Password::Stored { !password.isEmpty(), hint });
            });
        };
        services.password.setPasswordAndHint
            = [this, later](const QString& p, const QString& h, QObject* context, auto done) {
                  later(context, [this, p, h, done] {
                      if (storeFailure)
                          return done(storeFailure);
                      stores.append({ p, h });
                      password = p;
                      hint = h;
                      done(std::nullopt);
                  });
              };
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
