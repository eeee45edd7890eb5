#include "app/commands/AppCommands.h"

#include "app/alerts/MessagePopover.h"
#include "app/data/DataCommands.h"
#include "app/lock/AppLock.h"
#include "app/print/ReportPrinting.h"
#include "app/rates/ExchangeRateDownload.h"
#include "app/settings/NWSettingsViewController.h"
#include "app/settings/SettingsServices.h"
#include "app/share/ShareCommands.h"
#include "app/shell/AppDelegate.h"
#include "model/store/NWData.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractButton>

namespace {

DataCommands::Host dataCommandsHost(AppDelegate& delegate)
{
    return {
        .documentButton = [&delegate]() -> QWidget* { return delegate.exportButton(); },
        .settingsButton
        = [&delegate]() -> QWidget* { return delegate.titleBarButton(TitleBarLayout::Button::Settings); },
        .showMessage = [&delegate](const QString& text) { delegate.showMessage(text); },
        .isLocked = [&delegate] { return delegate.pwdWinDisplayed(); },
        .messagePopover = [&delegate]() -> const PKPopoverController* {
            return delegate.messagePopover() ? delegate.messagePopover()->popover() : nullptr;
        },
    };
}

} // namespace

AppCommands::AppCommands(AppDelegate& delegate, NWData* store)
    : m_delegate(delegate)
    , m_exchangeRateDownload(std::make_unique<ExchangeRateDownload>(
          store ? store : NWData::shared(), [&delegate] { return delegate.gettingExchangeRate(); },
          [&delegate](bool getting) { delegate.setGettingExchangeRate(getting); }))
    , m_appLock(std::make_unique<AppLock>(delegate))
    , m_dataCommands(
          std::make_unique<DataCommands>(store ? *store : *delegate.store(), dataCommandsHost(delegate)))
    , m_reportPrinting(std::make_unique<ReportPrinting>(store ? *store : *delegate.store(),
          ReportPrinting::Host { .window = [&delegate] { return delegate.windowWidget(); },
              // Why nothing printed is told at the print button, which asked.
              .showMessage =
                  [&delegate](const QString& text) {
                      delegate.sharedMessagePopover().showMessage(
                          text, delegate.titleBarButton(TitleBarLayout::Button::Print));
                  } }))
    , m_shareCommands(std::make_unique<ShareCommands>(
          ShareCommands::Host { [&delegate] { return delegate.windowWidget(); },
              [&delegate](const QString& text) { delegate.showMessage(text); } }))
{
    m_dataCommands->installWindowActions(delegate.windowWidget());
}

AppCommands::~AppCommands() = default;

// Exchange rates.
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

void AppCommands::lockAtLaunch(std::function<void()> openUnlocked)
{
    m_appLock->showPwdWindow(std::move(openUnlocked));
}

// Settings popover.
void AppCommands::showPreferences(QAbstractButton* sender)
{
    // The delegate ignores the title bar while the window is locked.
    if (PKPopoverController::dropPopover(m_settingsPopover) || !sender)
        return;
    auto* settings = new NWSettingsViewController(SettingsServices::standard());
    m_settingsPopover = new PKPopoverController(settings, &m_delegate);
    m_settingsPopover->setDefaultProperties_ItemEdit();
    m_settingsPopover->setWillShowBlock([settings](PKPopoverController*) { settings->setValues(); });
    m_settingsPopover->showRelativeToRect(QRectF(sender->rect()), sender, platform::RectEdge::MaxY);
}

void AppCommands::settingsClose(const platform::Notification& n)
{
    static_cast<void>(n);
    PKPopoverController::dropPopover(m_settingsPopover);
}

// Data commands.
void AppCommands::exportButtonHandler(QAbstractButton* sender)
{
    m_dataCommands->exportButtonHandler(sender);
}

void AppCommands::nwDeleteAllData(const platform::Notification& n)
{
    static_cast<void>(n);
    m_dataCommands->nwDeleteAllData();
}

void AppCommands::nwRestoreAllData(const platform::Notification& n)
{
    static_cast<void>(n);
    m_dataCommands->nwRestoreAllData();
}

void AppCommands::csvImporterClose(const platform::Notification& n)
{
    static_cast<void>(n);
    m_dataCommands->csvImporterClose();
}

void AppCommands::csvImporterImport(const platform::Notification& n)
{
    static_cast<void>(n);
    m_dataCommands->csvImporterImport();
}

// Printed reports.
void AppCommands::printAction(QAbstractButton* sender)
{
    m_reportPrinting->printAction(sender);
}

void AppCommands::printNotificationHandler(const platform::Notification& n)
{
    m_reportPrinting->printNotificationHandler(n);
}

void AppCommands::nwPrintPopupClosed(const platform::Notification& n)
{
    m_reportPrinting->nwPrintPopupClosed(n);
}

// Share menu, about sheet and manual-download popover.
void AppCommands::shareButtonHandler(QAbstractButton* sender)
{
    m_shareCommands->shareButtonHandler(sender);
}

void AppCommands::infoABoutButtonHandler(QAbstractButton* sender)
{
    m_shareCommands->infoABoutButtonHandler(sender);
}

void AppCommands::helpButtonHandler(QAbstractButton* sender)
{
    m_shareCommands->helpButtonHandler(sender);
}
