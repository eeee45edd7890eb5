#pragma once

#include "model/values/GenericSelectionRecord.h"
#include "platform/Expected.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

/// What the settings popover reaches beyond the user defaults and the store. `standard()`
/// binds the keychain, the user-notification centre and the selection popover; tests put
/// their own in.
struct SettingsServices {
    /// The app-lock password and its hint.
    struct Password {
        /// Empty when none is set or the keychain cannot be read.
        std::function<QString()> password;
        std::function<QString()> hint;
        /// Stores both; an error text on any failure.
        std::function<platform::MaybeError(const QString& password, const QString& hint)> setPasswordAndHint;
        /// Why no keychain answers, or none when one does.
        std::function<std::optional<QString>()> unavailableReason;
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
