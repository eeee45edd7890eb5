#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PieChart.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/queries/ModelBuilders.h"
#include "model/settings/Preferences.h"
#include "support/Eventually.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainterPath>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using PieChartSettings::PieDisplayType;

namespace {

struct Amount {
    QString name;
    double value = 0.0;
};

// One record of these assets and liabilities; each category named as given.
std::shared_ptr<MVX_Model> householdOf(const std::vector<Amount>& assets, const std::vector<Amount>& debts)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(u"USD"_s);
    auto record = std::make_shared<MVX_NWLog>();
    record->setYear(2025);
    record->setMonth(12);
    MVX_CategoryList assetCategories;
    MVX_CategoryList debtCategories;
    MVX_CategoryLogList assetLogs;
    MVX_CategoryLogList debtLogs;
    double assetTotal = 0.0;
    double debtTotal = 0.0;
    for (std::size_t i = 0; i < assets.size(); ++i) {
        const QString id = u"A%1"_s.arg(i);
        assetCategories.append(makeCategory(id, assets[i].name));
        assetLogs.append(makeLog(id, 2025, 12, assets[i].value));
        assetTotal += assets[i].value;
    }
    for (std::size_t i = 0; i < debts.size(); ++i) {
        const QString id = u"L%1"_s.arg(i);
        debtCategories.append(makeCategory(id, debts[i].name));
        debtLogs.append(makeLog(id, 2025, 12, debts[i].value));
        debtTotal += debts[i].value;
    }
    record->setAssets(assetTotal);
    record->setLiabilities(debtTotal);
    record->setNw(assetTotal - debtTotal);
    record->setAssetLogs(assetLogs);
    record->setLiabilityLogs(debtLogs);
    model->setAssetscat(assetCategories);
    model->setLiabilitycat(debtCategories);
    model->setNwLogArray(MVX_NWLogList { record });
    return model;
}

class TotalsViewControllerPieTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        Preferences::setShowStartForm(false);
    }

    // The dashboard pane at the size of a 1300 x 800 window, its pie come up and turned to
    // each of eight directions: the labels of `kept` are drawn each time, apart and in the pane.
    static void expectLabelsKept(
        TotalsViewController& totals, const QList<int>& kept, const std::string& what)
    {
        chart::PieChart* pie = totals.pieChart();
        EXPECT_EVENTUALLY(std::abs(pie->startAngle() - std::numbers::pi / 2) < 1e-9);
        for (int eighth = 0; eighth < 8; ++eighth) {
            pie->setStartAngle(std::numbers::pi / 2 + eighth * std::numbers::pi / 4);
            const std::string when = what + " turned " + std::to_string(eighth) + "/8";
            const QRectF pane = totals.hostView()->hostedGraph()->plotAreaRect();
            const QList<chart::PieChart::LabelPlacement> placements = pie->labelPlacements();
            QList<QPainterPath> outlines;
            for (const auto& placement : placements) {
                EXPECT_TRUE(
                    pane.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(placement.box.outline().boundingRect()))
                    << when << ": label " << placement.recordIndex << " reaches out of the pane";
                QPainterPath outline;
                outline.addPolygon(placement.box.grown(-0.01).outline());
                outline.closeSubpath();
                for (const QPainterPath& other : outlines)
                    EXPECT_FALSE(other.intersects(outline)) << when << ": label " << placement.recordIndex;
                outlines.append(outline);
            }
            for (const int slice : kept)
                EXPECT_TRUE(std::any_of(placements.begin(), placements.end(),
                    [slice](const auto& placement) { return placement.recordIndex == slice; }))
                    << when << ": the label of slice " << slice << " is left out";
        }
    }

    static void showAsInTheWindow(TotalsViewController& totals)
    {
        totals.resize(850, 290);
        totals.show();
        QApplication::processEvents();
    }
};

} // namespace

// Every asset of 2 % or less: the pie is one "All other" slice (after an empty placeholder),
// whose label shows wherever the pie is turned, with names and without, amounts and percentages.
TEST_F(TotalsViewControllerPieTest, APieOfOneMergedSliceShowsItsLabel)
{
    std::vector<Amount> assets;
    for (int i = 0; i < 60; ++i)
        assets.push_back({ u"Savings account %1"_s.arg(i + 1), 1000.0 + i });
    installAndSave(householdOf(assets, { { u"Mortgage"_s, 25000 } }));
    PieChartSettings::setPieDisplayType(PieDisplayType::AssetCategories);
    for (const auto& [names, style] : { std::pair { true, PieChartSettings::PieLabelType::Amount },
             std::pair { false, PieChartSettings::PieLabelType::Percentage } }) {
        PieChartSettings::setNameInLabel(names);
        PieChartSettings::setPieLabelType(style);
        TotalsViewController totals;
        showAsInTheWindow(totals);
        ASSERT_EQ(totals.pie().slices.size(), 2);
        ASSERT_TRUE(totals.pie().slices[1].merged);
        expectLabelsKept(totals, { 1 }, names ? "amounts with names" : "percentages without names");
    }
}

// A household of one asset category: its asset pie is one slice, labelled; its net-worth pie
// keeps all three labels.
TEST_F(TotalsViewControllerPieTest, AHouseholdOfOneCategoryHasItsLabel)
{
    installAndSave(householdOf({ { u"Checking account"_s, 52000 } }, { { u"Mortgage"_s, 18000 } }));
    for (const PieDisplayType type :
        { PieDisplayType::AssetCategories, PieDisplayType::LiabilityCategories }) {
        PieChartSettings::setPieDisplayType(type);
        TotalsViewController totals;
        showAsInTheWindow(totals);
        ASSERT_EQ(totals.pie().slices.size(), 1);
        expectLabelsKept(totals, { 0 }, type == PieDisplayType::AssetCategories ? "assets" : "liabilities");
    }
    PieChartSettings::setPieDisplayType(PieDisplayType::NetWorth);
    TotalsViewController totals;
    showAsInTheWindow(totals);
    expectLabelsKept(totals, { 0, 1, 2 }, "net worth");
}

// One category of 1e15 (or of 1e250, whose amount is too long for any room) beside nineteen: the
// net-worth pie keeps the labels of its two halves (assets and net worth), the asset pie that of
// the large one, each starting with its amount's first digits.
TEST_F(TotalsViewControllerPieTest, TheLargestSlicesOfAHugeHouseholdKeepTheirLabels)
{
    for (const double large : { 1e15, 1e250 }) {
        std::vector<Amount> assets { { u"Trust fund"_s, large } };
        for (int i = 1; i < 20; ++i)
            assets.push_back({ u"Asset %1"_s.arg(i), 1000.0 + 100 * i });
        installAndSave(householdOf(assets, { { u"Mortgage"_s, 250000 } }));
        const std::string what = large == 1e15 ? "1e15" : "1e250";
        PieChartSettings::setPieDisplayType(PieDisplayType::NetWorth);
        {
            TotalsViewController totals;
            showAsInTheWindow(totals);
            expectLabelsKept(totals, { 1, 2 }, what + " net worth");
            for (const auto& placement : totals.pieChart()->labelPlacements()) {
                const QString whole = totals.pie().slices.value(placement.recordIndex).label;
                EXPECT_TRUE(placement.label.text.startsWith(whole.left(4)))
                    << placement.label.text.toStdString();
            }
        }
        PieChartSettings::setPieDisplayType(PieDisplayType::AssetCategories);
        TotalsViewController totals;
        showAsInTheWindow(totals);
        ASSERT_FALSE(totals.pie().slices[0].merged);
        expectLabelsKept(totals, { 0 }, what + " assets");
    }
}

// An asset of the largest double beside a small one, and two of them: the dashboard pie of every
// type is drawn all round its ring, its slices in proportion, and no label reads as infinity or
// not-a-number, with amounts and with percentages.
TEST_F(TotalsViewControllerPieTest, PiesOfTheLargestDoubleAreDrawnAllRound)
{
    constexpr double most = std::numeric_limits<double>::max();
    for (const double second : { 2500.0, most }) {
        auto model = householdOf(
            { { u"Trust fund"_s, most }, { u"Vault"_s, second } }, { { u"Mortgage"_s, 250000 } });
        // A data file holds no infinity: the totals stop at the largest double.
        model->nwLogArray()->first()->setAssets(most);
        model->nwLogArray()->first()->setNw(most);
        installAndSave(model);
        for (const auto style :
            { PieChartSettings::PieLabelType::Amount, PieChartSettings::PieLabelType::Percentage }) {
            PieChartSettings::setPieLabelType(style);
            for (const PieDisplayType type : { PieDisplayType::NetWorth, PieDisplayType::AssetCategories }) {
                SCOPED_TRACE(
                    testing::Message() << second << ", labels " << int(style) << ", type " << int(type));
                PieChartSettings::setPieDisplayType(type);
                TotalsViewController totals;
                showAsInTheWindow(totals);
                chart::PieChart* pie = totals.pieChart();
                EXPECT_EVENTUALLY(std::abs(pie->startAngle() - std::numbers::pi / 2) < 1e-9
                    && std::abs(pie->opacity() - 1.0) < 1e-9);
                double whole = 0.0;
                for (const auto& slice : pie->slices())
                    whole += slice.fraction;
                EXPECT_NEAR(whole, 1.0, 1e-9);
                for (const auto& slice : totals.pie().slices) {
                    EXPECT_FALSE(slice.label.contains(u"inf"_s, Qt::CaseInsensitive))
                        << slice.label.toStdString();
                    EXPECT_FALSE(slice.label.contains(u"nan"_s, Qt::CaseInsensitive))
                        << slice.label.toStdString();
                }
                if (type == PieDisplayType::AssetCategories && second == most) {
                    ASSERT_EQ(totals.pie().slices.size(), 2);
                    EXPECT_EQ(totals.pie().slices[0].percent, 50.0);
                }
                // The middle of the ring stands out from the background all round.
                const auto drawnAllRound = [&] {
                    chart::GraphHostingView& host = *totals.hostView();
                    const QImage image = host.viewport()->grab().toImage();
                    const QSizeF area = host.hostedGraph()->plotAreaRect().size();
                    const double r = (pie->pieRadius() + pie->pieInnerRadius()) / 2;
                    const QColor background = image.pixelColor(2, 2);
                    for (int k = 0; k < 12; ++k) {
                        const double angle = 0.1 + k * std::numbers::pi / 6;
                        const QColor seen = image.pixelColor(
                            host.viewPointFromPlotArea(QPointF(area.width() / 2 + r * std::cos(angle),
                                                           area.height() / 2 + r * std::sin(angle)))
                                .toPoint());
                        if (std::abs(seen.red() - background.red())
                                + std::abs(seen.green() - background.green())
                                + std::abs(seen.blue() - background.blue())
                            < 30)
                            return false;
                    }
                    return true;
                };
                EXPECT_EVENTUALLY(drawnAllRound());
            }
        }
    }
}
