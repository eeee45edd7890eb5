#pragma once

#include "records/editor/NWEntryLogic.h"
#include "uikit/overlay/POProgressOverlay.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class EntryListModel;
class FittingLabel;
class HoverEditTableView;
class HoverTableView;
class NWCategoryLogCellView;
class NWTextField;

class QBoxLayout;
class QLabel;
class QPushButton;
class TableRowView;
namespace platform {
struct Notification;
}

/// The editor of one monthly record, made anew for every opening of its popover: title,
/// month and year lists, the asset and liability tables (rows made as they come into view),
/// the three totals, the note, an error label and Save and Cancel. What it shows and saves
/// is NWEntryLogic's; this class puts it on screen and saves through the store under a
/// "Saving ..." overlay. It observes the value fields' end of editing from its making until
/// `stopObserving()`.
class NWEntryViewController : public QWidget {
    Q_OBJECT
public:
    explicit NWEntryViewController(QWidget* parent = nullptr);
    ~NWEntryViewController() override;

    /// The record a new record is prefilled from (none: every row starts at 0).
    void setPreviousEntry(std::shared_ptr<MVX_NWLog> record) { m_previousEntry = std::move(record); }
    const std::shared_ptr<MVX_NWLog>& previousEntry() const { return m_previousEntry; }
    /// Opens on `record` for editing, or for a new record without one; `year` and `month`
    /// are not used (the record's or today's period is selected).
    void setValuesForNWLog(std::shared_ptr<MVX_NWLog> record, int year = 0, int month = 0);
    const std::shared_ptr<MVX_NWLog>& nwLogRecord() const { return m_logic.nwLogRecord(); }
    const NWEntryLogic& logic() const { return m_logic; }

    /// The period the lists select.
    int selectedYear() const;
    int selectedMonth() const;
    /// Selects a period in the lists (a year outside the list is ignored).
    void selectPeriod(int year, int month);

    /// Saves as the Save button does.
    void saveButtonHandler();
    /// Stops observing and asks the opener to close.
    void cancelButtonHandler();
    /// Starts editing the first value (of the assets, else of the liabilities), so that the
    /// household can type at once.
    void focusFirstValue();
    /// Stops observing the value fields (the popover's will-close step calls it).
    void stopObserving();
    /// Whether a save is being written.
    bool isSaving() const { return bool(m_overlay); }

    /// The value cell of a side's row, if its row widget exists (none is made); the table of
    /// a side. Null for a value that names no side.
    NWCategoryLogCellView* cellAt(EntrySide side, int row) const;
    HoverEditTableView* tableOf(EntrySide side) const;

Q_SIGNALS:
    /// Cancel was pressed; the opener closes the popover.
    void closeRequested();

protected:
    /// The first showing starts editing the first value.
    void showEvent(QShowEvent* event) override;

private:
    void buildView();
    void applyAppearance();
    void categoryValueEditFinished(const platform::Notification& notification);
    void reloadTables();
    void updateTotalsLabels();
    void showError(const QString& text);
    void saveFinished(const platform::MaybeError& result);
    /// Row widgets (NWEntryViewCells.cpp).
    TableRowView* makeDateRow(const QString& text) const;
    TableRowView* makeValueRow(EntrySide side, int row);
    void configureCell(NWCategoryLogCellView& cell, EntrySide side, int row);

    NWEntryLogic m_logic;
    std::shared_ptr<MVX_NWLog> m_previousEntry;
    QStringList m_monthNames;
    QPointer<POProgressOverlay> m_overlay;
    bool m_observing = false;
    bool m_shownOnce = false;

    QLabel* m_titleLabel = nullptr;
    QBoxLayout* m_tablesLayout = nullptr;
    HoverTableView* m_monthTableView = nullptr;
    HoverTableView* m_yearTableView = nullptr;
    HoverEditTableView* m_assetsTableView = nullptr;
    HoverEditTableView* m_liabilitiesTableView = nullptr;
    EntryListModel* m_monthModel = nullptr;
    EntryListModel* m_yearModel = nullptr;
    EntryListModel* m_assetModel = nullptr;
    EntryListModel* m_liabilityModel = nullptr;
    FittingLabel* m_totalNWLabel = nullptr;
    FittingLabel* m_totalAssetLabel = nullptr;
    FittingLabel* m_totalLiabilityLabel = nullptr;
    NWTextField* m_noteLabel = nullptr;
    QLabel* m_errorLabel = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
