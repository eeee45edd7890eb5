#pragma once

#include "uikit/popover/PKPopoverController.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class NWData;
class QAction;
class QMenu;
class QWidget;

/// The commands that act on the data as a whole: backup, restore, delete all, CSV export
/// and import, a new monthly record and the exchange-rate viewer. The document menu holds
/// them all; the new record and the exchange rates are also window shortcuts. Every outcome
/// is reported through the host's message, and every failure with its reason. Popovers made
/// here are children of this object and go with it. Main thread only.
class DataCommands : public QObject {
    Q_OBJECT
public:
    /// What the commands need of the window around them.
    struct Host {
        /// The title bar's document button: the anchor of every popover but the rates.
        std::function<QWidget*()> documentButton;
        /// The anchor of the exchange-rate viewer.
        std::function<QWidget*()> settingsButton;
        /// Shows the shell's message at the document button.
        std::function<void(const QString&)> showMessage;
        /// True while the lock overlay covers the window.
        std::function<bool()> isLocked;
        /// The message popover, left open when editors are closed; may return null.
        std::function<const PKPopoverController*()> messagePopover;
    };

    /// Works on `store` (not owned), which must outlive this object.
    DataCommands(NWData& store, Host host, QObject* parent = nullptr);
    ~DataCommands() override;

    /// "mervaneBackup_<day>_<month>_<year>.json", without leading zeros.
    static QString suggestedBackupName(QDate day);

    /// The document menu (made on first use, owned here).
    QMenu* documentMenu();
    QAction* newRecordAction() const { return m_newRecordAction; }
    QAction* exchangeRatesAction() const { return m_exchangeRatesAction; }
    /// Gives `window` the Ctrl shortcuts of the new record and the exchange rates.
    void installWindowActions(QWidget* window);
    /// Pops the document menu up below `sender`.
    void exportButtonHandler(QWidget* sender);

    void backupClick();
    void exportToCSV();
    /// Toggle the confirmation of restore (and of delete all); its OK posts the notification
    /// that `nwRestoreAllData` (`nwDeleteAllData`) answers.
    void restoreClick();
    void deleteAllDataClick();
    void nwRestoreAllData();
    void nwDeleteAllData();
    /// Toggles the CSV import panel.
    void importFromCSV();
    void csvImporterClose();
    /// Closes the panel and posts "dataReFetched".
    void csvImporterImport();
    void addNewNWRecord();
    /// Toggles the exchange-rate viewer; nothing while the window is locked.
    void showExchangeRates();

    // The popovers while they exist (tests).
    PKPopoverController* confirmationPopover() const { return m_confirmationPopover; }
    PKPopoverController* importPopover() const { return m_importPopover; }
    PKPopoverController* ratesPopover() const { return m_ratesPopover; }

private:
    void toggleConfirmation(bool restore);
    /// Closes every shown popover but the message, before the model is replaced.
    void closeEditors();
    void showMessage(const QString& text);
    QWidget* documentButton() const;

    NWData& m_store;
    Host m_host;
    std::unique_ptr<QMenu> m_documentMenu;
    QAction* m_newRecordAction = nullptr;
    QAction* m_exchangeRatesAction = nullptr;
    QPointer<PKPopoverController> m_confirmationPopover;
    // An answered confirmation until it has faded out and gone.
    QPointer<PKPopoverController> m_answeredConfirmation;
    QPointer<PKPopoverController> m_importPopover;
    QPointer<PKPopoverController> m_ratesPopover;
};
