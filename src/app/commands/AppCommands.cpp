#include "app/commands/AppCommands.h"

#include "app/lock/AppLock.h"
#include "app/lock/PasswordStore.h"
#include "app/rates/ExchangeRateDownload.h"
#include "app/shell/AppDelegate.h"
#include "model/store/NWData.h"

AppCommands::AppCommands(AppDelegate& delegate, NWData* store)
    : m_exchangeRateDownload(std::make_unique<ExchangeRateDownload>(
        store ? store : NWData::shared(), [&delegate] { return delegate.gettingExchangeRate(); },
        [&delegate](bool getting) { delegate.setGettingExchangeRate(getting); }))
    , m_delegate(delegate)
    , m_appLock(std::make_unique<AppLock>(m_delegate))
{
}

AppCommands::~AppCommands() = default;

void AppCommands::retrieveExchangeRates()
{
    m_exchangeRateDownload->retrieveExchangeRates();
}

void AppCommands::retrieveAndUpdateExchangeRateTimerHandler()
{
    retrieveExchangeRates();
}

void AppCommands::exchangeRateFetchAGainHandler(const platform::Notification& n)
{
    static_cast<void>(n);
    retrieveExchangeRates();
}

// App lock.
void AppCommands::lockButtonHandler(QAbstractButton* sender)
{
    m_appLock->lockButtonHandler(sender);
}

QString AppCommands::getThePassword()
{
    return PasswordStore::getThePassword();
}

void AppCommands::showPwdWindow()
{
    m_appLock->showPwdWindow();
}
