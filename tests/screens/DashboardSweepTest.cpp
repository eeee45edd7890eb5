#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/common/BigPieChartView.h"
#include "dashboard/common/NWColoredRotationViews.h"
#include "dashboard/common/PieDragRotation.h"
#include "dashboard/settings/PieChartMenuViewController.h"
#include "dashboard/totals/TotalsLineField.h"
#include "dashboard/totals/TotalsViewController.h"
#include "dashboard/totals/WelcomeView.h"
#include "screens/SweepSupport.h"

#include <QSlider>

#include <gtest/gtest.h>

#include <cmath>

using namespace mervane::test;
using namespace mervane::test::sweep;

namespace {

using DashboardSweep = ScreenSweepTest;
using PieKind = BigPieChartViewController::PieKind;

TEST_F(DashboardSweep, totalsPaneTakesEveryModelAndDiesMidAnimation)
{
    forEachModel([] {
        auto totals = std::make_unique<TotalsViewController>();
        totals->setMenuContentFactory([] { return new PieChartMenuViewController; });
        showInHost(*totals);
        totals->refreshView();
        totals->setNWTitleValues(true);
        EXPECT_FALSE(std::isnan(totals->getNWGoalAmount()));
        resizeAndPaint(*totals, edgeSizes);
        totals->resizedSplit();
        totals->chartMenuHandler();
        totals->showFirstStartForm();
        // The pie's opening turn and the menu's popover are still running.
        totals->refreshView();
        QCoreApplication::processEvents();
        totals.reset();
        settle();
    });
}

TEST_F(DashboardSweep, bigPiesTakeEveryModelRotationAndKind)
{
    forEachModel([] {
        auto pies = std::make_unique<BigPieChartViewController>();
        showInHost(*pies);
        pies->nwDataReFetchedHandler();
        for (int degrees : edgeInts)
            pies->rotationChanged(degrees);
        for (int kind : { -1, 0, 1, 2, 3, INT_MAX, INT_MIN }) {
            const auto pieKind = static_cast<PieKind>(kind);
            const bool known = kind >= 0 && kind <= 2;
            EXPECT_EQ(pies->hostView(pieKind) != nullptr, known) << kind;
            EXPECT_EQ(pies->pieChart(pieKind) != nullptr, known) << kind;
            EXPECT_TRUE(pies->slices(pieKind).slices.isEmpty() || known) << kind;
            pies->copyChartToClipboard(pieKind);
        }
        // Each size is taken as the end of a live resize, which fits the pies to it.
        resizeAndPaint(*pies, edgeSizes, [&pies] { pies->viewHasResized(); });
        pies->upateChart(true);
        pies->chartMenuHandler();
        // Deleted while the pies make their opening turn.
        pies->nwDataReFetchedHandler();
        QCoreApplication::processEvents();
        pies.reset();
        settle();
    });
}

TEST_F(DashboardSweep, pieSettingsAndSmallViewsTakeEdgeValues)
{
    PieChartMenuViewController menu;
    showInHost(menu);
    for (int type : edgeInts)
        menu.setValueDisplayTypeBasedOnChartType(type);
    resizeAndPaint(menu, popoverSizes);

    // The line fits its font to its width at every change: each text once, the longest at
    // every size.
    TotalsLineField line;
    auto runsOf = [](const QString& text) {
        return QList<TotalsLine::Run> { { text, TotalsLine::Run::Kind::Label, QColor() },
            { text, TotalsLine::Run::Kind::Value, Qt::red },
            { QString(), TotalsLine::Run::Kind::Gap, QColor() } };
    };
    for (const QString& text : edgeTexts()) {
        line.setRuns(runsOf(text));
        EXPECT_GT(line.fontSize(), 0.0f);
        paintCorners(line);
    }
    line.setRuns(runsOf(QString(10000, QLatin1Char('W'))));
    resizeAndPaint(line);

    WelcomeView welcome;
    resizeAndPaint(welcome);
    BigPieChartView page;
    resizeAndPaint(page);
    NWColoredRotationView_NW rotation;
    resizeAndPaint(rotation);
}

TEST_F(DashboardSweep, dragRotationStaysFiniteAtEdgePoints)
{
    PieDragRotation rotation;
    for (double x : edgeNumbers) {
        const QPointF point(x, -x);
        const QPointF centre = PieDragRotation::pieCentre(QSizeF(x, x), point);
        EXPECT_TRUE(std::isfinite(centre.x()) && std::isfinite(centre.y())) << x;
        EXPECT_TRUE(std::isfinite(PieDragRotation::angleAbout(centre, point))) << x;
        rotation.mouseDown(point, centre);
        EXPECT_TRUE(std::isfinite(rotation.mouseDragged(QPointF(x, 1), centre))) << x;
        for (const QString& type : { QStringLiteral("mouseDown"), QStringLiteral("mouseDragged"), QString() })
            EXPECT_TRUE(std::isfinite(rotation.handle(type, point, centre))) << x;
    }
}

} // namespace
