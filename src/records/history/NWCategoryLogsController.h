#pragma once

#include "model/data/MVX_Category.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class CategoryLogsModel;
class QChartView;
class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class TableRowHost;

/// The content of the category value history popover: the category's name, a switch that
/// hides the months valued zero (remembered across launches), a small chart of the values
/// and a table of month and amount, newest first. Made anew for every opening; the opener
/// hands it the category in the popover's will-show step. It observes nothing: it shows the
/// store as it was when `setCategory` or the switch last ran.
class NWCategoryLogsController : public QWidget {
    Q_OBJECT
public:
    /// User default (bool, false when absent): leave out months valued zero.
    static inline const QString hideZeroValueCategoryLogHistoryKey
        = QStringLiteral("hideZeroValueCategoryLogHistory");
    /// The colour of the chart's line.
    static QColor chartColor() { return QColor(15, 109, 231); }
    /// How long the chart's values take to rise into place: on a new category or a change
    /// of the switch, and when the viewer appears.
    static constexpr int updateAnimationMs = 400;
    static constexpr int appearAnimationMs = 5000;

    explicit NWCategoryLogsController(QWidget* parent = nullptr);
    ~NWCategoryLogsController() override;

    /// Shows the history of `category` (an asset category when `isAsset`); none clears it.
    void setCategory(std::shared_ptr<MVX_Category> category, bool isAsset);

    bool hideZeroValueCategoryLogHistory() const { return m_hideZeroValueCategoryLogHistory; }
    const std::shared_ptr<MVX_Category>& viewCategory() const { return m_viewCategory; }
    bool showAssetCategory() const { return m_showAssetCategory; }

    QSize sizeHint() const override { return QSize(320, 420); }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void hideZeroValueChanged(bool hide);
    void closeButtonClick();
    void fillTheDataArray();
    void setupLineChart(int animationMs);
    /// The chart's background and the end of its fill, for the appearance it is shown in.
    void applyChartBackground();

    bool m_hideZeroValueCategoryLogHistory = false;
    std::shared_ptr<MVX_Category> m_viewCategory;
    bool m_showAssetCategory = false;
    CategoryLogsModel* m_sortedCategoryLogs = nullptr;
    QPointer<QListView> m_tableView;
    TableRowHost* m_rowHost = nullptr;
    QPointer<QLabel> m_categoryNameLbl;
    QPointer<QCheckBox> m_hideZeroValue;
    QPointer<QChartView> m_chart;
    QPointer<QPushButton> m_closeButton;
};
