#pragma once

#include "app/shell/AppCommandHandlers.h"

#include <memory>

class AppDelegate;
class DataCommands;
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

    // Data commands: backup, restore, delete all, CSV export and import, the document menu.
    void exportButtonHandler(QAbstractButton* sender) override;
    void nwDeleteAllData(const platform::Notification& n) override;
    void nwRestoreAllData(const platform::Notification& n) override;
    void csvImporterClose(const platform::Notification& n) override;
    void csvImporterImport(const platform::Notification& n) override;
    DataCommands& dataCommands() const { return *m_dataCommands; }

private:
    std::unique_ptr<ExchangeRateDownload> m_exchangeRateDownload;
    std::unique_ptr<DataCommands> m_dataCommands;
};
