#pragma once

#include "app/shell/AppCommandHandlers.h"
#include "uikit/popover/PKPopoverController.h"

#include <QPointer>

#include <memory>

class AppDelegate;
class AppLock;
class DataCommands;
class ExchangeRateDownload;
class NWData;
class ReportPrinting;
class ShareCommands;

/// The commands of the running application, as the delegate dispatches them. Main thread
/// only; owned by the delegate, which outlives it.
class AppCommands : public AppCommandHandlers {
public:
    /// `store` is not owned (the shared store when null).
    explicit AppCommands(AppDelegate& delegate, NWData* store = nullptr);
    ~AppCommands() override;

    // Exchange rates.
    void retrieveExchangeRates() override;
    void retrieveAndUpdateExchangeRateTimerHandler() override;
    void exchangeRateFetchAGainHandler(const platform::Notification& n) override;
    ExchangeRateDownload& exchangeRateDownload() const { return *m_exchangeRateDownload; }

    // App lock: the keychain password, the lock button and the lock overlay.
    void lockButtonHandler(QAbstractButton* sender) override;
    void lockAtLaunch(std::function<void()> openUnlocked) override;
    AppLock& appLock() const { return *m_appLock; }

    // Settings popover: opened anew at every press of the settings button, which toggles it.
    void showPreferences(QAbstractButton* sender) override;
    void settingsClose(const platform::Notification& n) override;
    PKPopoverController* settingsPopover() const { return m_settingsPopover; }

    // Data commands: backup, restore, delete all, CSV export and import, the document menu.
    void exportButtonHandler(QAbstractButton* sender) override;
    void nwDeleteAllData(const platform::Notification& n) override;
    void nwRestoreAllData(const platform::Notification& n) override;
    void csvImporterClose(const platform::Notification& n) override;
    void csvImporterImport(const platform::Notification& n) override;
    DataCommands& dataCommands() const { return *m_dataCommands; }

    // Printed reports: the report choice popover and the print of the chosen report.
    void printAction(QAbstractButton* sender) override;
    void printNotificationHandler(const platform::Notification& n) override;
    void nwPrintPopupClosed(const platform::Notification& n) override;

    // Share menu, about sheet and manual-download popover.
    void shareButtonHandler(QAbstractButton* sender) override;
    void infoABoutButtonHandler(QAbstractButton* sender) override;
    void helpButtonHandler(QAbstractButton* sender) override;
    ShareCommands& shareCommands() const { return *m_shareCommands; }

private:
    AppDelegate& m_delegate;
    std::unique_ptr<ExchangeRateDownload> m_exchangeRateDownload;
    std::unique_ptr<AppLock> m_appLock;
    QPointer<PKPopoverController> m_settingsPopover;
    std::unique_ptr<DataCommands> m_dataCommands;
    std::unique_ptr<ReportPrinting> m_reportPrinting;
    std::unique_ptr<ShareCommands> m_shareCommands;
};
