#pragma once

#include "platform/NotificationCenter.h"

#include <QString>

#include <functional>

class QAbstractButton;

/// The commands the application delegate dispatches: the title-bar buttons, the command
/// notifications it observes from launch on, the exchange-rate download and the app-lock
/// password. Each does nothing here; the command subsystems override what they bring.
/// The delegate owns its handlers. Main thread only.
class AppCommandHandlers {
public:
    virtual ~AppCommandHandlers() = default;

    // Title-bar buttons; `sender` is the button, where popovers anchor.
    virtual void lockButtonHandler(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void showPreferences(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void infoABoutButtonHandler(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void shareButtonHandler(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void exportButtonHandler(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void printAction(QAbstractButton* sender) { static_cast<void>(sender); }
    virtual void helpButtonHandler(QAbstractButton* sender) { static_cast<void>(sender); }

    // Command notifications.
    virtual void nwPrintPopupClosed(const platform::Notification& n) { static_cast<void>(n); }
    virtual void nwDeleteAllData(const platform::Notification& n) { static_cast<void>(n); }
    virtual void nwRestoreAllData(const platform::Notification& n) { static_cast<void>(n); }
    virtual void exchangeRateFetchAGainHandler(const platform::Notification& n) { static_cast<void>(n); }
    /// Called after the delegate has cleared its download flag.
    virtual void finishedGettingCurrencyExchange(const platform::Notification& n) { static_cast<void>(n); }
    virtual void csvImporterClose(const platform::Notification& n) { static_cast<void>(n); }
    virtual void csvImporterImport(const platform::Notification& n) { static_cast<void>(n); }
    virtual void settingsClose(const platform::Notification& n) { static_cast<void>(n); }
    virtual void printNotificationHandler(const platform::Notification& n) { static_cast<void>(n); }

    // Exchange rates: the download at launch and the repeating timer's.
    virtual void retrieveExchangeRates() { }
    virtual void retrieveAndUpdateExchangeRateTimerHandler() { }

    // App lock.
    /// At launch: either calls `openUnlocked` (now or later) when the window may show its
    /// content, or shows the lock overlay, whose first successful unlock must call the
    /// delegate's `initAfterPwdCompleted`. Here the window opens unlocked at once.
    virtual void lockAtLaunch(std::function<void()> openUnlocked) { openUnlocked(); }
};
