#include "app/data/DataCommands.h"

#include "app/alerts/AskDeleteAllData.h"
#include "app/data/CSVImportPanelVC.h"
#include "app/data/EditorPopovers.h"
#include "model/ModelNotifications.h"
#include "model/store/ModelExport.h"
#include "model/store/NWData.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"
#include "records/RecordsNotifications.h"
#include "records/rates/ExchangerateVC.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

DataCommands::DataCommands(NWData& store, Host host, QObject* parent)
    : QObject(parent), m_store(store), m_host(std::move(host))
{
    m_newRecordAction = new QAction(Strings::tr("New Monthly Record"), this);
    m_newRecordAction->setObjectName(u"newRecordAction"_s);
    m_newRecordAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_newRecordAction, &QAction::triggered, this, &DataCommands::addNewNWRecord);

    m_exchangeRatesAction = new QAction(Strings::tr("Exchange Rates"), this);
    m_exchangeRatesAction->setObjectName(u"exchangeRatesAction"_s);
    m_exchangeRatesAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_exchangeRatesAction, &QAction::triggered, this, &DataCommands::showExchangeRates);
}

DataCommands::~DataCommands() = default;

QString DataCommands::suggestedBackupName(QDate day)
{
    return u"mervaneBackup_%1_%2_%3.json"_s.arg(day.day()).arg(day.month()).arg(day.year());
}

QMenu* DataCommands::documentMenu()
{
    if (m_documentMenu)
        return m_documentMenu.get();
    m_documentMenu = std::make_unique<QMenu>();
    m_documentMenu->setObjectName(u"documentMenu"_s);
    const auto add = [this](const QString& title, const char* name, void (DataCommands::*command)()) {
        QAction* action = m_documentMenu->addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
    };
    add(Strings::tr("Backup All Data to a File..."), "backupToFileMenuItem", &DataCommands::backupClick);
    add(Strings::tr("Restore All Data from a File..."), "restoreFromFileMenuItem",
        &DataCommands::restoreClick);
    add(Strings::tr("Delete All Data..."), "deleteAllMenuItem", &DataCommands::deleteAllDataClick);
    m_documentMenu->addSeparator();
    add(Strings::tr("Export to a CSV File..."), "exportToCSVMenuItem", &DataCommands::exportToCSV);
    add(Strings::tr("Import from a CSV File..."), "importFromCSVMenuItem", &DataCommands::importFromCSV);
    m_documentMenu->addSeparator();
    m_documentMenu->addAction(m_newRecordAction);
    m_documentMenu->addAction(m_exchangeRatesAction);
    return m_documentMenu.get();
}

void DataCommands::installWindowActions(QWidget* window)
{
    if (!window)
        return;
    window->addAction(m_newRecordAction);
    window->addAction(m_exchangeRatesAction);
}

void DataCommands::exportButtonHandler(QWidget* sender)
{
    QWidget* anchor = sender ? sender : documentButton();
    if (!anchor)
        return;
    documentMenu()->popup(anchor->mapToGlobal(QPoint(0, anchor->height())));
}

void DataCommands::backupClick()
{
    platform::FileRequest request;
    request.mode = platform::FileRequest::Mode::Save;
    request.title = Strings::tr("Backup all records to a file");
    request.suggestedName = suggestedBackupName(platform::Clock::today());
    request.directory = platform::UserDefaults::standard().string(ModelExport::exportPathKey);
    request.parent = documentButton();
    // The panel may run an event loop in which this object goes.
    const QPointer<DataCommands> alive(this);
    const QString path = platform::FileChooser::choose(request);
    if (!alive || path.isEmpty())
        return;
    if (platform::MaybeError failed = m_store.backupToFilePath(path)) {
        showMessage(Strings::tr("Backup failed: %1").arg(*failed));
        return;
    }
    // A folder the backup could not be written to is not offered next time.
    platform::UserDefaults::standard().setValueAndSynchronize(
        ModelExport::exportPathKey, QFileInfo(path).absolutePath());
    showMessage(Strings::tr("Net worth data successfully exported to a file."));
}

void DataCommands::exportToCSV()
{
    platform::FileRequest request;
    request.mode = platform::FileRequest::Mode::Save;
    request.title = Strings::tr("Export all records to a CSV file");
    request.suggestedName = NWData::csvExportFileName;
    request.parent = documentButton();
    const QPointer<DataCommands> alive(this);
    const QString path = platform::FileChooser::choose(request);
    if (!alive || path.isEmpty())
        return;
    if (platform::MaybeError failed = m_store.exportToCSV(path)) {
        showMessage(Strings::tr("Export failed: %1").arg(*failed));
        return;
    }
    showMessage(Strings::tr("Net worth data successfully exported to selected CSV file."));
}

void DataCommands::restoreClick()
{
    toggleConfirmation(true);
}

void DataCommands::deleteAllDataClick()
{
    toggleConfirmation(false);
}

void DataCommands::toggleConfirmation(bool restore)
{
    // Restore and delete all share one confirmation: either command closes the other's.
    if (PKPopoverController::dropPopover(m_confirmationPopover))
        return;
    QWidget* anchor = documentButton();
    if (!anchor)
        return;
    auto* ask = new AskDeleteAllData;
    m_confirmationPopover = new PKPopoverController(ask, this);
    m_confirmationPopover->setDefaultProperties_ItemWarning();
    // Answered, it is done with: the next press asks anew, even while this one fades out.
    connect(ask, &AskDeleteAllData::closeRequested, this, [this] {
        m_answeredConfirmation = m_confirmationPopover;
        m_confirmationPopover = nullptr;
    });
    m_confirmationPopover->setDidCloseBlock([](PKPopoverController* popover) { popover->deleteLater(); });
    m_confirmationPopover->setWillShowBlock([restore](PKPopoverController* popover) {
        if (auto* ask = qobject_cast<AskDeleteAllData*>(popover->contentViewController()))
            ask->changeWarningType(restore);
    });
    m_confirmationPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MaxY);
}

void DataCommands::nwRestoreAllData()
{
    platform::FileRequest request;
    request.mode = platform::FileRequest::Mode::Open;
    request.title = Strings::tr("Restore all records from a file");
    request.parent = documentButton();
    const QPointer<DataCommands> alive(this);
    const QString path = platform::FileChooser::choose(request);
    if (!alive || path.isEmpty())
        return;
    closeEditors();
    if (platform::MaybeError failed = m_store.restoreFromFilePath(path)) {
        showMessage(Strings::tr("Restore failed: %1").arg(*failed));
        return;
    }
    showMessage(Strings::tr("Net worth data successfully loaded from selected file."));
}

void DataCommands::nwDeleteAllData()
{
    // The confirmation posts before it closes; its fading out must not take the message along.
    if (m_confirmationPopover)
        m_answeredConfirmation = m_confirmationPopover;
    closeEditors();
    if (platform::MaybeError failed = m_store.deleteAllRecords()) {
        showMessage(Strings::tr("Delete failed: %1").arg(*failed));
        return;
    }
    showMessage(Strings::tr("All net worth data successfully deleted."));
}

void DataCommands::importFromCSV()
{
    if (PKPopoverController::dropPopover(m_importPopover))
        return;
    QWidget* anchor = documentButton();
    if (!anchor)
        return;
    m_importPopover = new PKPopoverController(new CSVImportPanelVC(&m_store), this);
    m_importPopover->setDefaultProperties_ItemEdit();
    m_importPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MaxY);
}

void DataCommands::csvImporterClose()
{
    if (m_importPopover && m_importPopover->shown())
        PKPopoverController::dropPopover(m_importPopover);
}

void DataCommands::csvImporterImport()
{
    csvImporterClose();
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
}

void DataCommands::addNewNWRecord()
{
    platform::NotificationCenter::defaultCenter().post(notifications::addNewRecord);
}

void DataCommands::showExchangeRates()
{
    if (m_host.isLocked && m_host.isLocked())
        return;
    if (PKPopoverController::dropPopover(m_ratesPopover))
        return;
    QWidget* anchor = m_host.settingsButton ? m_host.settingsButton() : nullptr;
    if (!anchor)
        return;
    m_ratesPopover = new PKPopoverController(new ExchangerateVC, this);
    m_ratesPopover->setDefaultProperties_ItemEdit();
    m_ratesPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MaxY);
}

void DataCommands::closeEditors()
{
    const PKPopoverController* message = m_host.messagePopover ? m_host.messagePopover() : nullptr;
    closeEditorPopovers({ message });
}

void DataCommands::showMessage(const QString& text)
{
    if (!m_host.showMessage)
        return;
    // A message shown while the answered confirmation fades out would be closed by the
    // change of the active window when it goes; it waits until the confirmation is gone.
    if (m_answeredConfirmation) {
        connect(
            m_answeredConfirmation, &QObject::destroyed, this, [this, text] { m_host.showMessage(text); });
        return;
    }
    m_host.showMessage(text);
}

QWidget* DataCommands::documentButton() const
{
    return m_host.documentButton ? m_host.documentButton() : nullptr;
}
