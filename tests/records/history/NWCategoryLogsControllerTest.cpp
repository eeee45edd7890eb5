#include "records/history/NWCategoryLogsController.h"
#include "records/history/CatLogCellView.h"
#include "records/history/CategoryLogsModel.h"

#include "model/queries/ModelBuilders.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "support/TextFits.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QAbstractAnimation>
#include <QAbstractItemModelTester>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFile>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineSeries>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The shared store holds one asset category "A" (also used as a liability ID) over five
// records, given out of order so that the store's own newest-first order shows.
class CategoryLogsViewer : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        NWData::shared()->setAppData(model);
        NWData::shared()->sortNWArray({
            makeRecord(2023, 11, { makeLog(u"A"_s, 2023, 11, 0.0) }),
            makeRecord(2024, 1, { makeLog(u"A"_s, 2024, 1, 0.000005) }, { makeLog(u"A"_s, 2024, 1, 75) }),
            makeRecord(2024, 3, { makeLog(u"A"_s, 2024, 3, 1234.4) }),
            makeRecord(2023, 12, { makeLog(u"B"_s, 2023, 12, 99) }),
            makeRecord(2024, 2, { makeLog(u"A"_s, 2024, 2, std::nullopt) }),
            makeRecord(2023, 10, { makeLog(u"A"_s, 2023, 10, -500.0) }),
            makeRecord(2023, 9, { makeLog(u"A"_s, 2023, 9, 0.00002) }),
        });
    }
    void TearDown() override
    {
        NWData::shared()->setAppData(nullptr);
        TempHomeTest::TearDown();
    }

    static std::shared_ptr<MVX_Category> category()
    {
        return makeCategory(u"A"_s, u"Savings & <b>cash</b>"_s);
    }

    // The (month, amount) texts the row widgets show, made the way the list makes them.
    static QList<std::pair<QString, QString>> shownRows(NWCategoryLogsController& viewer)
    {
        auto* list = viewer.findChild<QListView*>(u"tableView"_s);
        QList<std::pair<QString, QString>> rows;
        if (!list)
            return rows;
        if (!viewer.isVisible()) {
            viewer.resize(viewer.sizeHint());
            viewer.show();
        }
        QCoreApplication::processEvents();
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            auto* cell = qobject_cast<CatLogCellView*>(list->indexWidget(list->model()->index(row, 0)));
            EXPECT_NE(cell, nullptr) << "row " << row << " has no widget";
            if (cell)
                rows.append({ cell->logDate()->text(), cell->logAmount()->text() });
        }
        return rows;
    }

    // Whether a value animation of the chart's items still runs.
    static bool animationRunning(QChart& chart)
    {
        for (QGraphicsItem* item : chart.scene()->items()) {
            QGraphicsObject* object = item->toGraphicsObject();
            const QList<QAbstractAnimation*> animations
                = object ? object->findChildren<QAbstractAnimation*>() : QList<QAbstractAnimation*>();
            for (QAbstractAnimation* animation : animations)
                if (animation->state() == QAbstractAnimation::Running)
                    return true;
        }
        return false;
    }

    // The chart's series, the two bounds of its area, and its axes.
    static QList<QPointer<QObject>> seriesAndAxes(QChart& chart)
    {
        QList<QPointer<QObject>> objects;
        for (QAbstractSeries* series : chart.series()) {
            objects.append(series);
            if (auto* area = qobject_cast<QAreaSeries*>(series)) {
                objects.append(area->upperSeries());
                objects.append(area->lowerSeries());
            }
        }
        for (QAbstractAxis* axis : chart.axes())
            objects.append(axis);
        return objects;
    }

    static qsizetype chartPoints(NWCategoryLogsController& viewer)
    {
        auto* chart = viewer.findChild<QChartView*>(u"chart"_s);
        const QList<QAbstractSeries*> series = chart ? chart->chart()->series() : QList<QAbstractSeries*>();
        auto* line = series.isEmpty() ? nullptr : qobject_cast<QLineSeries*>(series.last());
        return line ? line->count() : -1;
    }
};

TEST_F(CategoryLogsViewer, RowsFollowTheStoreNewestFirstAndOnlyMonthsWithAValue)
{
    NWCategoryLogsController viewer;
    QAbstractItemModelTester tester(viewer.findChild<QListView*>(u"tableView"_s)->model(),
        QAbstractItemModelTester::FailureReportingMode::Fatal);
    viewer.setCategory(category(), true);
    viewer.show();

    EXPECT_EQ(viewer.findChild<QLabel*>(u"categoryNameLbl"_s)->text(), u"Savings & <b>cash</b>"_s);
    EXPECT_EQ(viewer.findChild<QLabel*>(u"categoryNameLbl"_s)->textFormat(), Qt::PlainText);
    // December has no value for A, February's value is absent: neither gives a row.
    const QList<std::pair<QString, QString>> expected { { u"March 2024"_s, u"$1,234"_s },
        { u"January 2024"_s, u"$0"_s }, { u"November 2023"_s, u"$0"_s }, { u"October 2023"_s, u"($500)"_s },
        { u"September 2023"_s, u"$0"_s } };
    EXPECT_EQ(shownRows(viewer), expected);
    EXPECT_EQ(chartPoints(viewer), 5);

    // The same ID on the liability side is another history.
    viewer.setCategory(category(), false);
    EXPECT_EQ(shownRows(viewer), (QList<std::pair<QString, QString>> { { u"January 2024"_s, u"$75"_s } }));
    EXPECT_EQ(chartPoints(viewer), 1);
    EXPECT_FALSE(viewer.showAssetCategory());

    viewer.setCategory(makeCategory(u"none"_s, u"Empty"_s), true);
    EXPECT_TRUE(shownRows(viewer).isEmpty());
    EXPECT_EQ(chartPoints(viewer), 0);
    viewer.setCategory(nullptr, true);
    EXPECT_TRUE(shownRows(viewer).isEmpty());
    EXPECT_TRUE(viewer.findChild<QLabel*>(u"categoryNameLbl"_s)->text().isEmpty());
}

TEST_F(CategoryLogsViewer, HugeAmountsAreSetSmallerOrElidedAtTheirEndNeverCutAtTheFront)
{
    constexpr double largest = std::numeric_limits<double>::max();
    NWData::shared()->sortNWArray({
        makeRecord(2024, 3, { makeLog(u"A"_s, 2024, 3, 1e20) }),
        makeRecord(2024, 2, { makeLog(u"A"_s, 2024, 2, -1e17) }),
        makeRecord(2024, 1, { makeLog(u"A"_s, 2024, 1, largest) }),
        makeRecord(2023, 12, { makeLog(u"A"_s, 2023, 12, -largest) }),
    });
    NWCategoryLogsController viewer;
    viewer.setCategory(category(), true);
    const QList<std::pair<QString, QString>> rows = shownRows(viewer);
    ASSERT_EQ(rows.size(), 4);
    auto* list = viewer.findChild<QListView*>(u"tableView"_s);
    for (int row = 0; row < rows.size(); ++row) {
        auto* cell = qobject_cast<CatLogCellView*>(list->indexWidget(list->model()->index(row, 0)));
        ASSERT_NE(cell, nullptr);
        const QString whole = list->model()->index(row, 0).data(CategoryLogsModel::AmountTextRole).toString();
        const std::string when = rows.at(row).first.toStdString();
        expectShownFromItsStart(*cell->logAmount(), whole, when.c_str());
        // The month beside it stays whole.
        EXPECT_LE(cell->logDate()->fontMetrics().horizontalAdvance(rows.at(row).first),
            cell->logDate()->contentsRect().width())
            << when;
    }
}

TEST_F(CategoryLogsViewer, HideZeroLeavesOutNearZeroMonthsAndTheNextViewerRemembersIt)
{
    auto viewer = std::make_unique<NWCategoryLogsController>();
    viewer->setCategory(category(), true);
    auto* box = viewer->findChild<QCheckBox*>(u"hideZeroValue"_s);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(shownRows(*viewer).size(), 5);

    box->click();
    // On disk at once, before the event loop runs again (the file is a CBOR map, whose keys
    // are stored as plain text).
    QFile file(platform::UserDefaults::standardFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        file.readAll().contains(NWCategoryLogsController::hideZeroValueCategoryLogHistoryKey.toUtf8()));
    EXPECT_TRUE(platform::UserDefaults::standard().boolean(
        NWCategoryLogsController::hideZeroValueCategoryLogHistoryKey, false));
    // 0.000005 and 0 are within 0.00001 of zero; 0.00002 is not.
    const QList<std::pair<QString, QString>> hidden { { u"March 2024"_s, u"$1,234"_s },
        { u"October 2023"_s, u"($500)"_s }, { u"September 2023"_s, u"$0"_s } };
    EXPECT_EQ(shownRows(*viewer), hidden);
    EXPECT_EQ(chartPoints(*viewer), 3);

    viewer = std::make_unique<NWCategoryLogsController>();
    box = viewer->findChild<QCheckBox*>(u"hideZeroValue"_s);
    EXPECT_TRUE(box->isChecked());
    viewer->setCategory(category(), true);
    EXPECT_EQ(shownRows(*viewer), hidden);

    box->click();
    EXPECT_EQ(shownRows(*viewer).size(), 5);
    viewer = std::make_unique<NWCategoryLogsController>();
    EXPECT_FALSE(viewer->findChild<QCheckBox*>(u"hideZeroValue"_s)->isChecked());
    EXPECT_TRUE(platform::UserDefaults::standard().contains(
        NWCategoryLogsController::hideZeroValueCategoryLogHistoryKey));
}

TEST_F(CategoryLogsViewer, OnlyRowsInViewGetWidgets)
{
    MVX_NWLogList records;
    for (int month = 0; month < 600; ++month)
        records.append(makeRecord(1970 + month / 12, month % 12 + 1,
            { makeLog(u"A"_s, 1970 + month / 12, month % 12 + 1, month) }));
    NWData::shared()->sortNWArray(records);
    NWCategoryLogsController viewer;
    viewer.resize(viewer.sizeHint());
    viewer.setCategory(category(), true);
    viewer.show();
    QCoreApplication::processEvents();
    EXPECT_GT(viewer.findChildren<CatLogCellView*>().size(), 3);
    EXPECT_LT(viewer.findChildren<CatLogCellView*>().size(), 20);
    auto* list = viewer.findChild<QListView*>(u"tableView"_s);
    list->scrollToBottom();
    QCoreApplication::processEvents();
    auto* last = qobject_cast<CatLogCellView*>(list->indexWidget(list->model()->index(599, 0)));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->logDate()->text(), u"January 1970"_s);
}

TEST_F(CategoryLogsViewer, TheChartTakesTheDarkBackgroundAndTheGivenColourAndFollowsASwitch)
{
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(platform::Appearance::Dark);
    NWCategoryLogsController viewer;
    viewer.setCategory(category(), true);

    QChart* chart = viewer.findChild<QChartView*>(u"chart"_s)->chart();
    const QList<QAbstractSeries*> series = chart->series();
    ASSERT_EQ(series.size(), 2);
    auto* area = qobject_cast<QAreaSeries*>(series.first());
    ASSERT_TRUE(area && area->brush().gradient());
    EXPECT_EQ(qobject_cast<QLineSeries*>(series.last())->pen().color(), QColor(15, 109, 231));
    for (const bool dark : { true, false }) {
        SCOPED_TRACE(dark ? "dark" : "light, switched after it was made");
        appearance.setAppearance(dark ? platform::Appearance::Dark : platform::Appearance::Light);
        QCoreApplication::processEvents();
        const QColor background = platform::namedColor(u"ContentBackground"_s, dark);
        EXPECT_EQ(chart->backgroundBrush().color(), background);
        // The fill fades into the background, not into white.
        EXPECT_EQ(area->brush().gradient()->stops().last().second.rgb(), background.rgb());
    }
}

// Each change of the switch builds the chart anew while the chart's items for the last build,
// deleted only on a later turn of the event loop, may still animate their series: those series
// must outlive them, and nothing may be left behind once they are gone.
TEST_F(CategoryLogsViewer, SwitchChangedTwiceWhileTheChartStillMovesKeepsItsSeriesUntilTheirItemsGo)
{
    for (const bool turnBetween : { false, true }) {
        SCOPED_TRACE(turnBetween ? "one turn of the event loop between" : "no turn between");
        platform::UserDefaults::standard().remove(
            NWCategoryLogsController::hideZeroValueCategoryLogHistoryKey);
        auto viewer = std::make_unique<NWCategoryLogsController>();
        viewer->resize(viewer->sizeHint());
        viewer->setCategory(category(), true);
        viewer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* box = viewer->findChild<QCheckBox*>(u"hideZeroValue"_s);
        QChart* chart = viewer->findChild<QChartView*>(u"chart"_s)->chart();
        const qsizetype itemsOfOneChart = chart->scene()->items().size();

        box->click();
        if (turnBetween) {
            // The new values start rising on the next turn.
            EXPECT_EVENTUALLY(animationRunning(*chart));
        }
        const QList<QPointer<QObject>> replaced = seriesAndAxes(*chart);
        box->click();
        for (const QPointer<QObject>& object : replaced)
            EXPECT_FALSE(object.isNull()) << "deleted while the chart may still animate it";

        // Their items go on a later turn, and they go with them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QObject>& object : replaced)
            EXPECT_TRUE(object.isNull()) << "left behind after its chart item went";
        EXPECT_EQ(chart->scene()->items().size(), itemsOfOneChart);
        EXPECT_EQ(chart->series().size(), 2);
        EXPECT_EQ(chartPoints(*viewer), 5);
        // The last build's values rise into place while the chart paints.
        EXPECT_EVENTUALLY(animationRunning(*chart));
        EXPECT_EVENTUALLY((viewer->grab(), !animationRunning(*chart)));

        // Deleted in the middle of an animation, the viewer takes what it still holds along.
        box->click();
        const QList<QPointer<QObject>> last = seriesAndAxes(*chart);
        box->click();
        viewer.reset();
        for (const QPointer<QObject>& object : last)
            EXPECT_TRUE(object.isNull());
    }
}

TEST_F(CategoryLogsViewer, CloseButtonClosesThePopoverHoldingIt)
{
    QWidget window;
    window.setGeometry(100, 100, 600, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* viewer = new NWCategoryLogsController;
    PKPopoverController popover(viewer);
    popover.setDefaultProperties_ItemEdit();
    popover.setAnimates(false);
    popover.setContentSize(viewer->sizeHint());
    popover.setWillShowBlock([viewer](PKPopoverController*) { viewer->setCategory(category(), true); });
    popover.showRelativeToRect(QRectF(20, 20, 100, 24), &window, platform::RectEdge::MinY);
    ASSERT_TRUE(popover.shown());
    EXPECT_EQ(shownRows(*viewer).size(), 5);

    viewer->findChild<QPushButton*>(u"closeButton"_s)->click();
    EXPECT_FALSE(popover.shown());
}

TEST(CategoryLogsModelTest, NullLogsAreRefusedNotShown)
{
#ifdef NDEBUG
    constexpr bool assertionsOn = false;
#else
    constexpr bool assertionsOn = true;
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CategoryLogsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const MVX_CategoryLogList logs { makeLog(u"A"_s, 2024, 3, 10.0), nullptr,
        makeLog(u"A"_s, 2024, 1, -5.0) };
    EXPECT_DEBUG_DEATH(model.setLogs(logs), "");
    if (assertionsOn)
        return;
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.logs().size(), 2);
    EXPECT_EQ(model.index(1, 0).data(CategoryLogsModel::MonthTextRole).toString(), u"January 2024"_s);
    EXPECT_EQ(model.index(1, 0).data(CategoryLogsModel::AmountTextRole).toString(), u"($5)"_s);
    model.setLogs({ nullptr });
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
