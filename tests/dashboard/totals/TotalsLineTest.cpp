#include "dashboard/totals/TotalsLine.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "model/data/MVX_Model.h"
#include "platform/Resources.h"
#include "platform/UserDefaults.h"
#include "support/Contrast.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class TotalsLineTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        store().setAppData(model);
    }

    static QStringList texts(const QList<TotalsLine::Run>& runs)
    {
        QStringList result;
        for (const auto& run : runs)
            result.append(run.text);
        return result;
    }
};

TEST_F(TotalsLineTest, TheLineNamesNetWorthAssetsAndLiabilitiesInTheirDarkColours)
{
    const auto runs = TotalsLine::runs(10000, 2500, std::nullopt, true);
    EXPECT_EQ(TotalsLine::text(runs), u"Net worth:  $7,500   Assets:  $10,000   Liabilities:  $2,500"_s);
    ASSERT_EQ(runs.size(), 8);
    const QColor grey = QColor::fromRgb(0xA9, 0xA9, 0xA9);
    for (int label : { 0, 3, 6 }) {
        EXPECT_EQ(runs[label].kind, TotalsLine::Run::Kind::Label);
        EXPECT_EQ(runs[label].color, grey);
    }
    EXPECT_EQ(runs[1].color, QColor::fromRgb(0x54, 0xCC, 0xFF));
    EXPECT_EQ(runs[4].color, QColor::fromRgb(0x89, 0xBB, 0x43));
    EXPECT_EQ(runs[7].color, QColor::fromRgb(0xFF, 0x8A, 0x85));
    EXPECT_EQ(runs[2].kind, TotalsLine::Run::Kind::Gap);
    EXPECT_FALSE(runs[2].color.isValid());

    // A negative net worth in the formatter's negative form, still in the net-worth colour.
    const auto negative = TotalsLine::runs(1000, 1500, std::nullopt, true);
    EXPECT_EQ(negative[1].text, u"($500)"_s);
    EXPECT_EQ(negative[1].color, QColor::fromRgb(0x54, 0xCC, 0xFF));

    // A goal adds the distance (goal minus net worth) in orange; below the net worth it is negative.
    const auto withGoal = TotalsLine::runs(10000, 2500, 20000.0, true);
    EXPECT_EQ(
        texts(withGoal).mid(8), (QStringList { u"   "_s, u"Distance from your goal:  "_s, u"$12,500"_s }));
    EXPECT_EQ(withGoal.last().color, QColor::fromRgb(0xE9, 0xAE, 0x50));
    EXPECT_EQ(TotalsLine::runs(10000, 2500, 5000.0, true).last().text, u"($2,500)"_s);
    EXPECT_EQ(TotalsLine::runs(10000, 2500, 0.0, true).size(), 8);
    EXPECT_EQ(TotalsLine::runs(10000, 2500, -5.0, true).size(), 8);
}

TEST_F(TotalsLineTest, EveryRunReadsOnTheWindowOfEitherAppearanceInTheSameHues)
{
    const auto light = TotalsLine::runs(10000, 2500, 20000.0, false);
    const auto dark = TotalsLine::runs(10000, 2500, 20000.0, true);
    ASSERT_EQ(light.size(), dark.size());
    for (qsizetype i = 0; i < light.size(); ++i) {
        if (light[i].kind == TotalsLine::Run::Kind::Gap)
            continue;
        SCOPED_TRACE(light[i].text.toStdString());
        // The line shrinks below 18 points in a narrow window: the normal text's 4.5:1 holds.
        EXPECT_GE(contrast(light[i].color, platform::namedColor(u"WindowBackground"_s, false)), 5.0);
        EXPECT_GE(contrast(dark[i].color, platform::namedColor(u"WindowBackground"_s, true)), 5.0);
        EXPECT_NEAR(light[i].color.hslHue(), dark[i].color.hslHue(), 2);
        EXPECT_NEAR(light[i].color.hslSaturationF(), dark[i].color.hslSaturationF(), 0.02);
    }
}

TEST_F(TotalsLineTest, TheGoalIsTheModelsOrTheChosenStoredOneAndShowsOnlyWhenAskedAndPositive)
{
    HistoryChartSettings::setSuggestedGoal(300000.0);
    HistoryChartSettings::setGoalAmount(100000.0);
    // No "NWGoalTypeKey": the suggested goal.
    EXPECT_EQ(TotalsLine::goalAmount(std::nullopt), 300000.0);
    HistoryChartSettings::setGoalType(HistoryChartSettings::GoalType::Fixed);
    EXPECT_EQ(TotalsLine::goalAmount(std::nullopt), 100000.0);
    // The model's goal wins, even 0.
    EXPECT_EQ(TotalsLine::goalAmount(50000.0), 50000.0);
    EXPECT_EQ(TotalsLine::goalAmount(0.0), 0.0);

    // "nwShowGoal" absent: never shown.
    EXPECT_FALSE(TotalsLine::shownGoal(true, std::nullopt));
    HistoryChartSettings::setShowGoal(true);
    EXPECT_EQ(TotalsLine::shownGoal(true, std::nullopt), 100000.0);
    EXPECT_FALSE(TotalsLine::shownGoal(false, std::nullopt));
    EXPECT_FALSE(TotalsLine::shownGoal(true, 0.0));
    HistoryChartSettings::setGoalAmount(std::nullopt);
    EXPECT_FALSE(TotalsLine::shownGoal(true, std::nullopt));
}

TEST_F(TotalsLineTest, TheFontShrinksByATenthFrom18UntilTheLineFitsAndStopsAbove11)
{
    QList<float> tried;
    const auto widthAt = [&tried](float size) {
        tried.append(size);
        return double(size) * 40.0;
    };
    // Fits at once.
    EXPECT_EQ(TotalsLine::fittedFontSize(widthAt, 1000.0), 18.0f);
    EXPECT_EQ(tried, (QList<float> { 18.0f }));
    // 601 points hold the line at 15.0 (15 × 40), the 31st size tried.
    tried.clear();
    const float fitted = TotalsLine::fittedFontSize(widthAt, 601.0);
    EXPECT_NEAR(fitted, 15.0f, 1e-4);
    EXPECT_EQ(tried.size(), 31);
    EXPECT_NEAR(tried[1], 17.9f, 1e-5);
    // Never fits: seventy sizes are tried and the last, about 11.1, is kept.
    tried.clear();
    const float smallest = TotalsLine::fittedFontSize(widthAt, 10.0);
    EXPECT_EQ(tried.size(), 70);
    EXPECT_NEAR(smallest, 11.1f, 0.01);
    EXPECT_GE(smallest, TotalsLine::smallestFontSize);

    // Real text: a narrower room gives a smaller size, and what fits is no wider than the room.
    const auto runs = TotalsLine::runs(1234567, 234567, 5000000.0, false);
    const double full = TotalsLine::width(runs, 18.0);
    const float size = TotalsLine::fittedFontSize(
        [&runs](float s) { return TotalsLine::width(runs, double(s)); }, full * 0.8);
    EXPECT_LT(size, 18.0f);
    EXPECT_LE(TotalsLine::width(runs, double(size)), full * 0.8);

    // Drawn at the smallest size: a line that fits stays whole, a wider one keeps its start.
    EXPECT_EQ(TotalsLine::elided(runs, 11.0, full), runs);
    for (const double huge : { 1e20, std::numeric_limits<double>::max() }) {
        const auto wide = TotalsLine::runs(huge, 0, std::nullopt, false);
        const QString shown = TotalsLine::text(TotalsLine::elided(wide, 11.0, 400.0));
        EXPECT_TRUE(shown.startsWith(u"Net worth:  $1"_s)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        EXPECT_LE(TotalsLine::width(TotalsLine::elided(wide, 11.0, 400.0), 11.0), 400.0);
    }
}

// In the default window the line has about 636 points: however large the amounts, each keeps
// its sign and first digits, the ones that do not fit elided at their end.
TEST_F(TotalsLineTest, EveryAmountKeepsItsStartWhenTheLineIsElided)
{
    constexpr double room = 636.0;
    const std::tuple<double, double, std::optional<double>> households[]
        = { { 1.074213e21, 5.93125e19, {} }, { 1.0742e251, 5.93e249, 2e251 }, { 1e250, 3e250, 1e6 } };
    for (const auto& [assets, liabilities, goal] : households) {
        const auto full = TotalsLine::runs(assets, liabilities, goal, false);
        const auto shown = TotalsLine::elided(full, 11.0, room);
        SCOPED_TRACE(TotalsLine::text(shown).toStdString());
        ASSERT_EQ(shown.size(), full.size());
        for (qsizetype i = 0; i < full.size(); ++i) {
            if (full[i].kind != TotalsLine::Run::Kind::Value) {
                EXPECT_EQ(shown[i], full[i]);
                continue;
            }
            EXPECT_TRUE(shown[i].text.startsWith(full[i].text.left(4))) << shown[i].text.toStdString();
            EXPECT_TRUE(shown[i].text == full[i].text || shown[i].text.endsWith(QChar(0x2026)));
        }
        EXPECT_LE(TotalsLine::width(shown, 11.0), room);
    }
}

} // namespace
