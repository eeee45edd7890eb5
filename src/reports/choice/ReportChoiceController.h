#pragma once

#include "model/data/MVX_Model.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class CategoryChoiceRows;
class CustomizableTabView;
class NWColoredView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class RXRoundedBox;
class TableRowHost;
class TableRowView;

/// The content of the report choice popover: the net-worth statement, the assets, the
/// liability and the tags report on four tabs, each with its month or period, category or
/// tags. Print writes the choices to the user defaults (synchronised), posts
/// "PrintNotification" with the kind and closes the popover; it prints nothing itself.
/// Cancel closes it and writes nothing. Categories and tags are stored the moment they are
/// picked. Made anew at every opening from the store's lists and the stored choices; the
/// statement month starts on the newest record's month (today's without a record), the periods
/// from today. Controls carry their outlet names as object names; month and year items carry
/// their number as item data. Main thread only.
class ReportChoiceController : public QWidget {
    Q_OBJECT
public:
    explicit ReportChoiceController(QWidget* parent = nullptr);
    ~ReportChoiceController() override;

    int reportType() const { return m_reportType; }
    int indexOfSelectedAssetCategory() const;
    int indexOfSelectedLiabilityCategory() const;
    const QString& selectedAssetCategoryID() const;
    const QString& selectedLiabilityCategoryID() const;
    const QStringList& selectedTagIDs() const { return m_selectedTagIDs; }

    // The controls' actions.
    void selectedTabChanged(int index);
    void includeNameChanged();
    void printAction();
    void cancelAction();
    void tagRowCheckHandler(int row, bool checked);
    void assetCategoryPicked(int row);
    void liabilityCategoryPicked(int row);

private:
    /// The month and year pop-ups of one end of a period (or of the statement).
    struct DateControls {
        QComboBox* month = nullptr;
        QComboBox* year = nullptr;
    };
    struct PeriodControls {
        DateControls from;
        DateControls to;
    };

    void buildInterface();
    NWColoredView* makePage(const QString& name);
    QWidget* buildStatementPage();
    QWidget* buildListPage(const QString& name, const QString& caption, const QString& emptyText,
        QListView* list, PeriodControls& period);
    QWidget* buildButtons();
    DateControls makeDateControls(QWidget* parent, const QString& monthName, const QString& yearName);
    QListView* makeList(const QString& name);
    void setupDateMenus();
    void setFromToMenus();
    void loadDefaults();
    void fitTabView();
    void applyAppearance();

    TableRowView* makeTagRow(int row);
    const PeriodControls* periodOfKind(int kind) const;

    MVX_CategoryList m_assetCategories;
    MVX_CategoryList m_liabilityCategories;
    MVX_TagsList m_tags;

    int m_reportType = 0;
    QStringList m_selectedTagIDs;

    RXRoundedBox* m_chartBox = nullptr;
    CustomizableTabView* m_tabView = nullptr;
    QList<NWColoredView*> m_pages;
    QListView* m_assetsTableView = nullptr;
    QListView* m_liabilitiesTableView = nullptr;
    QListView* m_tagTableView = nullptr;
    CategoryChoiceRows* m_assetChoice = nullptr;
    CategoryChoiceRows* m_liabilityChoice = nullptr;
    TableRowHost* m_tagRows = nullptr;
    QCheckBox* m_includeNWGoal = nullptr;
    QCheckBox* m_includeName = nullptr;
    QLineEdit* m_nameField = nullptr;
    DateControls m_statement;
    PeriodControls m_assetsPeriod;
    PeriodControls m_liabilitiesPeriod;
    PeriodControls m_tagsPeriod;
    QList<QLabel*> m_captions;
    QList<QLabel*> m_emptyNotes;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
