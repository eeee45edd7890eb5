#pragma once

#include "app/shell/AppCommandHandlers.h"

#include <memory>

class AppDelegate;
class AppLock;
class ExchangeRateDownload;
class NWData;

/// The commands of the running application, as the delegate dispatches them. Main thread
/// only; owned by the delegate, which outlives it.
class AppCommands : public AppCommandHandlers {
public:
    /// `store` is not owned (the shared store when null).
    explicit AppCommands(AppDelegate& delegate, NWData* store = nullptr);
    ~AppCommands() override;

    void retrieveExchangeRates() override;
    void retrieveAndUpdateExchangeRateTimerHandler() override;
    void exchangeRateFetchAGainHandler(const platform::Notification& n) override;

    ExchangeRateDownload& exchangeRateDownload() const { return *m_exchangeRateDownload; }

    // App lock: the keychain password, the lock button and the lock overlay.
    void lockButtonHandler(QAbstractButton* sender) override;
    QString getThePassword() override;
    void showPwdWindow() override;
    AppLock& appLock() const { return *m_appLock; }

private:
    std::unique_ptr<ExchangeRateDownload> m_exchangeRateDownload;
    // App lock.
    AppDelegate& m_delegate;
    std::unique_ptr<AppLock> m_appLock;
};
