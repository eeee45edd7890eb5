#include "LnChartMenuTestSupport.h"

#include "categories/CategoriesNotifications.h"
#include "categories/filter/NWTagSelectionCellView.h"
#include "charts/common/ChartNotifications.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "charts/history/menu/LnChartSettingsRowView.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTabBar>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
namespace keys = HistoryChartSettings;

namespace {

TableRowView* rowOf(const LnChartMenuViewController& menu, const QString& list, int row)
{
    auto* host = menu.findChild<QListView*>(list)->findChild<TableRowHost*>();
    return host ? host->ensureRowView(row) : nullptr;
}

bool marked(const LnChartMenuViewController& menu, const QString& list, int row)
{
    return rowOf(menu, list, row)->findChild<LnChartSettCellView*>()->isMarked();
}

void pick(const LnChartMenuViewController& menu, const QString& list, int row)
{
    auto* view = menu.findChild<QListView*>(list);
    view->setCurrentIndex(view->model()->index(row, 0));
}

QCheckBox* tagBox(const LnChartMenuViewController& menu, int row)
{
    return rowOf(menu, u"tagTableView"_s, row)->findChild<NWTagSelectionCellView*>()->tagCheckBox();
}

TEST_F(LnChartMenuTest, EveryControlWritesItsKeyBeforeItsNotification)
{
    struct Case {
        const char* what;
        std::function<void(LnChartMenuViewController&)> act;
        std::function<void()> prepare;
        QString notification;
        QString key;
        QVariant expected;
    };
    const QList<Case> cases {
        { "tab", [](auto& m) { child<QTabBar>(m, u"tabView"_s)->setCurrentIndex(3); }, [] {},
            notifications::lineChartSettingsChange, keys::chartTypeKey, 3 },
        { "changes", [](auto& m) { clickSegment(m, u"chartValueOrChangeCtl"_s, 1); }, [] {},
            notifications::lineChartSettingsChange, keys::displayChangesKey, true },
        { "percent", [](auto& m) { clickSegment(m, u"chartCurrencyOrPercentCtl"_s, 1); }, [] {},
            notifications::lineChartSettingsChange, keys::displayPercentKey, true },
        { "stacked", [](auto& m) { child<QCheckBox>(m, u"stackedChartCtl"_s)->click(); }, [] {},
            notifications::lineChartSettingsChange, keys::stackedChartKey, true },
        { "asset", [](auto& m) { pick(m, u"assetsTableView"_s, 2); },
            [] { keys::setChartType(keys::ChartType::AssetCategory); },
            notifications::lineChartSettingsChange, keys::assetCategoryKey, u"A-CAR"_s },
        { "liability", [](auto& m) { pick(m, u"liabilitiesTableView"_s, 1); },
            [] { keys::setChartType(keys::ChartType::LiabilityCategory); },
            notifications::lineChartSettingsChange, keys::liabilityCategoryKey, u"L-CARD"_s },
        { "goal switch", [](auto& m) { child<QCheckBox>(m, u"nwGoal"_s)->click(); }, [] {},
            notifications::goalSettingsChange, keys::showGoalKey, true },
        { "goal kind", [](auto& m) { clickSegment(m, u"nwGoalTypeCtl"_s, 1); },
            [] { keys::setShowGoal(true); }, notifications::goalSettingsChange, keys::goalTypeKey, 1 },
        { "symbols", [](auto& m) { child<QCheckBox>(m, u"showPlotSymbols"_s)->click(); }, [] {},
            notifications::plotSymbol, keys::showSymbolsKey, false },
        { "area", [](auto& m) { child<QCheckBox>(m, u"showAreaChart"_s)->click(); }, [] {},
            notifications::areaChart, keys::showAreaKey, false },
        { "line width", [](auto& m) { clickSegment(m, u"lineWidth"_s, 4); }, [] {}, notifications::lineWidth,
            keys::lineWidthKey, 4 },
        { "tag", [](auto& m) { tagBox(m, 1)->click(); }, [] {}, notifications::tagFilterChanged,
            NWData::filterIDArrayKey, QStringList { u"T-TRAVEL"_s } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const Case& other : cases)
            defaults().remove(other.key);
        defaults().remove(keys::chartTypeKey);
        defaults().synchronize();
        c.prepare();
        stopWatching();
        const auto& seen = watch(c.notification, c.key);
        const auto menu = open();
        c.act(*menu);
        ASSERT_EQ(seen.size(), 1);
        EXPECT_EQ(seen.first().keyOnDisk.toString(), c.expected.toString());
        if (c.expected.typeId() == QMetaType::QStringList) {
            EXPECT_EQ(seen.first().keyOnDisk.toStringList(), c.expected.toStringList());
        }
        if (c.notification != notifications::goalSettingsChange) {
            EXPECT_FALSE(seen.first().object.isValid()) << "settings notifications carry nothing";
        }
    }
}

TEST_F(LnChartMenuTest, OpeningFillsTheFormFromTheSettings)
{
    keys::setChartType(keys::ChartType::AssetCategory);
    keys::setAssetCategory(u"A-SAVE"_s);
    keys::setDisplayChanges(true);
    keys::setShowSymbols(false);
    const auto menu = open();
    EXPECT_EQ(child<QTabBar>(*menu, u"tabView"_s)->currentIndex(), 2);
    EXPECT_EQ(menu->indexOfSelectedAssetCategory(), 1);
    EXPECT_TRUE(marked(*menu, u"assetsTableView"_s, 1));
    EXPECT_FALSE(marked(*menu, u"assetsTableView"_s, 0));
    EXPECT_EQ(child<SegmentedControl>(*menu, u"chartValueOrChangeCtl"_s)->selectedSegment(), 1);
    EXPECT_FALSE(child<QCheckBox>(*menu, u"showPlotSymbols"_s)->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*menu, u"showAreaChart"_s)->isChecked());
    EXPECT_TRUE(child<QListView>(*menu, u"assetsTableView"_s)->isEnabled());
    EXPECT_FALSE(child<QListView>(*menu, u"liabilitiesTableView"_s)->isEnabled());
    EXPECT_EQ(child<SegmentedControl>(*menu, u"lineWidth"_s)->selectedSegment(), 1);
    EXPECT_EQ(onDisk(keys::lineWidthKey).toInt(), 1) << "an absent line width is stored at opening";
    for (const QString& list : { u"assetsTableView"_s, u"liabilitiesTableView"_s, u"tagTableView"_s })
        QAbstractItemModelTester(
            child<QListView>(*menu, list)->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
}

TEST_F(LnChartMenuTest, TypesWithoutCategoriesDimTheListsAndChangesHideStackingAndTheGoal)
{
    keys::setChartType(keys::ChartType::AssetsAndLiabilities);
    auto menu = open();
    EXPECT_FALSE(child<QListView>(*menu, u"assetsTableView"_s)->isEnabled());
    EXPECT_FALSE(child<QListView>(*menu, u"liabilitiesTableView"_s)->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(*menu, u"nwGoal"_s)->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(*menu, u"stackedChartCtl"_s)->isVisible());

    child<QTabBar>(*menu, u"tabView"_s)->setCurrentIndex(0);
    EXPECT_TRUE(child<QCheckBox>(*menu, u"nwGoal"_s)->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(*menu, u"stackedChartCtl"_s)->isVisible());
    clickSegment(*menu, u"chartValueOrChangeCtl"_s, 1);
    EXPECT_FALSE(child<QCheckBox>(*menu, u"stackedChartCtl"_s)->isVisible());
    EXPECT_FALSE(child<QCheckBox>(*menu, u"nwGoal"_s)->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(*menu, u"nwAge"_s)->isEnabled());
}

TEST_F(LnChartMenuTest, AChosenCategoryThatIsGoneFallsBackToTheFirstAndIsWrittenBack)
{
    keys::setAssetCategory(u"A-DELETED"_s);
    const auto menu = open();
    EXPECT_EQ(menu->selectedAssetCategoryID(), u"A-HOME"_s);
    EXPECT_EQ(onDisk(keys::assetCategoryKey).toString(), u"A-HOME"_s);
    EXPECT_EQ(onDisk(keys::liabilityCategoryKey).toString(), u"L-MORT"_s) << "none chosen yet";
    EXPECT_TRUE(marked(*menu, u"assetsTableView"_s, 0));
    EXPECT_TRUE(marked(*menu, u"liabilitiesTableView"_s, 0));
}

TEST_F(LnChartMenuTest, WithoutCategoriesTheChoiceIsKept)
{
    model->setAssetscat(MVX_CategoryList());
    keys::setAssetCategory(u"A-DELETED"_s);
    const auto menu = open();
    EXPECT_EQ(onDisk(keys::assetCategoryKey).toString(), u"A-DELETED"_s);
    EXPECT_EQ(menu->indexOfSelectedAssetCategory(), -1);
}

TEST_F(LnChartMenuTest, PickingMovesTheMarkAndTheChosenCategoryPostsNothing)
{
    const auto& seen = watch(notifications::lineChartSettingsChange, keys::assetCategoryKey);
    const auto menu = open();
    pick(*menu, u"assetsTableView"_s, 1);
    EXPECT_TRUE(marked(*menu, u"assetsTableView"_s, 1));
    EXPECT_FALSE(marked(*menu, u"assetsTableView"_s, 0));
    EXPECT_EQ(seen.size(), 1);
    pick(*menu, u"assetsTableView"_s, 0);
    pick(*menu, u"assetsTableView"_s, 0);
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(onDisk(keys::assetCategoryKey).toString(), u"A-HOME"_s);
    // Reselecting the row the choice is already on.
    child<QListView>(*menu, u"assetsTableView"_s)->clearSelection();
    child<QListView>(*menu, u"assetsTableView"_s)->setCurrentIndex({});
    pick(*menu, u"assetsTableView"_s, 0);
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(LnChartMenuTest, TagBoxesChangeTheStoresFilterAndItsKeyAndKeepOneCopy)
{
    NWData::shared()->setSelectedTagIDs({ u"T-OTHER"_s });
    const auto& seen = watch(notifications::tagFilterChanged, NWData::filterIDArrayKey);
    const auto menu = open();
    EXPECT_FALSE(tagBox(*menu, 0)->isChecked());
    tagBox(*menu, 0)->click();
    menu->tagRowCheckHandler(0, true);
    EXPECT_EQ(NWData::shared()->selectedTagIDs(), (QStringList { u"T-OTHER"_s, u"T-HOME"_s }));
    EXPECT_EQ(onDisk(NWData::filterIDArrayKey).toStringList(), NWData::shared()->selectedTagIDs());
    EXPECT_EQ(seen.size(), 2);
    tagBox(*menu, 0)->click();
    EXPECT_EQ(NWData::shared()->selectedTagIDs(), QStringList { u"T-OTHER"_s });
    EXPECT_EQ(seen.last().keyOnDisk.toStringList(), QStringList { u"T-OTHER"_s });
    menu->tagRowCheckHandler(7, true);
    EXPECT_EQ(seen.size(), 3) << "a row that is no tag does nothing";

    NWData::shared()->setSelectedTagIDs({ u"T-TRAVEL"_s });
    const auto reopened = open();
    EXPECT_TRUE(tagBox(*reopened, 1)->isChecked());
}

TEST(LnChartSettingsRowView, GlowsOnlyUnderTheMouse)
{
    LnChartSettingsRowView row;
    row.setBackgroundColor(Qt::white);
    row.resize(200, 24);
    const QPoint middle(100, 10);
    const QColor quiet = row.grab().toImage().pixelColor(middle);
    row.setMouseInside(true);
    const QColor glowing = row.grab().toImage().pixelColor(middle);
    EXPECT_NE(glowing, quiet);
    EXPECT_GT(glowing.red(), glowing.blue()) << "a yellow glow";
    EXPECT_GE(row.grab().toImage().pixelColor(0, 10).blue(), 250) << "fading out at the ends";
    row.setMouseInside(false);
    EXPECT_EQ(row.grab().toImage().pixelColor(middle), quiet);
}

} // namespace
