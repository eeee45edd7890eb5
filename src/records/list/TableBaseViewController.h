#pragma once

#include "model/data/MVX_NWLog.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

#include <QPointer>
#include <QTableView>
#include <QWidget>

#include <memory>

class MessagePopover;
class NWCurrencyFormatter;
class RecordListModel;
class TableRowHost;
class TableRowView;

/// The dashboard's record list: one row per monthly record, newest first, over a command
/// bar with the add, edit and delete buttons and the warning button that appears when a
/// rate download ended without current rates. It opens the record editor in a popover,
/// asks before deleting a record, and shows every failed save.
class TableBaseViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int commandBarHeight = 41;

    explicit TableBaseViewController(QWidget* parent = nullptr);
    ~TableBaseViewController() override;

    // Commands (buttons, notifications).
    void addNewRecordClickHandler();
    void rowEditClickHandler();
    void deleteNewRecordClickHandler();
    void warningClickHandler();
    void nwrecordDelete();
    void nwrecordSave();
    void nwDataReFetchedHandler();
    void exchangeRateNotificationHandler();

    /// Opens the editor on `record`, or closes the editor popover when one is shown.
    void editTheNWLogRecord(const std::shared_ptr<MVX_NWLog>& record);
    /// The selected record and its row, or null.
    std::shared_ptr<MVX_NWLog> getSelectedNWLogItem(int* row = nullptr) const;

    QTableView* tableView() const { return m_tableView; }
    bool hasSelectedRecord() const { return m_hasSelectedRecord; }
    bool showWarning() const { return m_showWarning; }
    const QString& warningMessage() const { return m_warningMessage; }
    PKPopoverController* askDeletePopover() const { return m_askDeletePopover; }
    MessagePopover* messagePopover() const { return m_messages; }
    PKPopoverController* categoryWarningPopover() const { return m_categoryWarningPopover; }
    PKPopoverController* editRecordPopover() const { return m_editRecordPopover; }

    /// "Unable to refresh foreign currency exchange rates! (network?)"
    static const char* const rateWarningText;

private:
    void buildCommandBar();
    void selectionChanged();
    TableRowView* makeRow(int row);
    /// Shows `text` in the list's message popover, above `anchor`.
    void showMessage(const QString& text, QWidget* anchor);

    QPointer<QTableView> m_tableView;
    RecordListModel* m_model = nullptr;
    TableRowHost* m_rowHost = nullptr;
    std::unique_ptr<NWCurrencyFormatter> m_money;
    QPointer<CommandBar> m_buttonView;
    QPointer<TBWindowButton> m_deleteButton;
    QPointer<TBWindowButton> m_addButton;
    QPointer<TBWindowButton> m_editButton;
    QPointer<TBWindowButton> m_warningButton;
    QPointer<PKPopoverController> m_askDeletePopover;
    MessagePopover* m_messages = nullptr;
    QPointer<PKPopoverController> m_categoryWarningPopover;
    QPointer<PKPopoverController> m_editRecordPopover;
    QString m_warningMessage;
    bool m_hasSelectedRecord = false;
    bool m_showWarning = false;
    bool m_deleting = false;
};
