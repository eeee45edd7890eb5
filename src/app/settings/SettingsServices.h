#pragma once

#include "model/values/GenericSelectionRecord.h"
#include "platform/Expected.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QObject;
class QWidget;

/// What the settings popover reaches beyond the user defaults and the store. `standard()`
/// binds the keychain, the user-notification centre and the selection popover; tests put
/// their own in.
struct SettingsServices {
    /// The app-lock password and its hint. Both answer later (the keychain may first ask the
    /// user to unlock it), and only while `context` lives.
    struct Password {
        struct Stored {
            bool hasPassword = false;
            QString hint;
        };
        /// Whether a password is set and its hint, or why the keychain cannot be read.
        std::function<void(QObject* context, std::function<void(const platform::Expected<Stored>&)> done)>
            read;
        /// Stores both; none on success, else the text to show.
        std::function<void(const QString& password, const QString& hint, QObject* context,
            std::function<void(const platform::MaybeError&)> done)>
            setPasswordAndHint;
    };

    /// The monthly reminder, one scheduled user notification repeating every month.
    struct Reminder {
        /// The first scheduled notification's delivery date, or none when none is scheduled.
        std::function<std::optional<QDateTime>()> firstScheduledDate;
        /// Schedules a new reminder delivered first at `date`.
        std::function<void(const QDateTime& date)> schedule;
        /// Removes the first scheduled notification, if any.
        std::function<void()> removeFirst;
    };

    Password password;
    Reminder reminder;
    /// A new single-selection picker (a widget that posts the selection notifications)
    /// listing `records` under `title`. The caller owns it.
    std::function<QWidget*(const QList<GenericSelectionRecord>& records, const QString& title)> newPicker;

    static SettingsServices standard();
};
