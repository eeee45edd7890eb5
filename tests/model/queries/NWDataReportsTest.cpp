#include "model/store/NWData.h"

#include "model/dates/DateUtilities.h"
#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

struct Row {
    int year;
    int month;
    double amount;
    double change;
    double ratio;
};

void expectRows(const QList<NWReportRecord>& rows, const std::vector<Row>& expected)
{
    ASSERT_EQ(rows.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const NWReportRecord& row = rows.at(qsizetype(i));
        EXPECT_EQ(row.recordDate(), DateUtilities::dateWithYear(expected[i].year, expected[i].month));
        EXPECT_DOUBLE_EQ(row.amount(), expected[i].amount);
        EXPECT_DOUBLE_EQ(row.changeAmount(), expected[i].change);
        EXPECT_DOUBLE_EQ(row.changePercent(), expected[i].ratio);
    }
}

QDateTime month(int year, int month)
{
    return DateUtilities::dateWithYear(year, month);
}

class NWDataReportsTest : public ModelTest {
protected:
    // An asset A and a liability L, each tagged "T", with one value per month, newest first.
    void setValues(const std::vector<std::tuple<int, int, double>>& assetValues,
        const std::vector<std::tuple<int, int, double>>& liabilityValues = {})
    {
        model().setAssetscat(MVX_CategoryList { makeCategory(u"A"_s, u"Asset"_s, QStringList { u"T"_s }) });
        model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L"_s, u"Debt"_s, QStringList { u"T"_s }) });
        MVX_NWLogList records;
        for (size_t i = 0; i < std::max(assetValues.size(), liabilityValues.size()); ++i) {
            const auto& [y, m, v] = i < assetValues.size() ? assetValues[i] : liabilityValues[i];
            auto record = makeRecord(y, m);
            if (i < assetValues.size())
                record->assetLogs()->append(makeLog(u"A"_s, y, m, v));
            if (i < liabilityValues.size())
                record->liabilityLogs()->append(makeLog(u"L"_s, y, m, std::get<2>(liabilityValues[i])));
            records.append(record);
        }
        model().setNwLogArray(records);
    }
};

TEST_F(NWDataReportsTest, CategoryReportComparesEachMonthWithTheOlderValue)
{
    setValues({ { 2020, 3, 300 }, { 2020, 2, 200 }, { 2020, 1, 100 } });
    expectRows(store().getAssetReportRecords(u"A"_s, std::nullopt, std::nullopt),
        { { 2020, 3, 300, 100, 0.5 }, { 2020, 2, 200, 100, 1.0 }, { 2020, 1, 100, 0, 0 } });
    // A From date alone is no period.
    expectRows(store().getAssetReportRecords(u"A"_s, month(2020, 2), std::nullopt),
        { { 2020, 3, 300, 100, 0.5 }, { 2020, 2, 200, 100, 1.0 }, { 2020, 1, 100, 0, 0 } });
    expectRows(store().getAssetReportRecords(u"A"_s, month(2020, 2), month(2020, 1)),
        { { 2020, 2, 200, 100, 1.0 }, { 2020, 1, 100, 0, 0 } });
    // The oldest row of the period is still compared with the month before the period.
    expectRows(store().getAssetReportRecords(u"A"_s, month(2020, 3), month(2020, 2)),
        { { 2020, 3, 300, 100, 0.5 }, { 2020, 2, 200, 100, 1.0 } });
    expectRows(store().getAssetReportRecords(u"A"_s, month(2020, 3), month(2020, 3)),
        { { 2020, 3, 300, 100, 0.5 } });
    EXPECT_TRUE(store().getAssetReportRecords(u"A"_s, month(2020, 1), month(2020, 3)).isEmpty());
    EXPECT_TRUE(store().getLiabilityReportRecords(u"A"_s, std::nullopt, std::nullopt).isEmpty());
}

TEST_F(NWDataReportsTest, RatiosDivideByTheOlderAmountsMagnitudeAndIgnoreAmountsNearZero)
{
    setValues({ { 2020, 4, 10 }, { 2020, 3, 0.05 }, { 2020, 2, -5000 }, { 2020, 1, -10000 } },
        { { 2020, 4, -100 }, { 2020, 3, -200 } });
    // A net worth rising from -10,000 to -5,000 is half as much again, not half as little.
    expectRows(store().getAssetReportRecords(u"A"_s, std::nullopt, std::nullopt),
        { { 2020, 4, 10, 9.95, 0 }, { 2020, 3, 0.05, 5000.05, 5000.05 / 5000 }, { 2020, 2, -5000, 5000, 0.5 },
            { 2020, 1, -10000, 0, 0 } });
    expectRows(store().getLiabilityReportRecords(u"L"_s, std::nullopt, std::nullopt),
        { { 2020, 4, -100, 100, 0.5 }, { 2020, 3, -200, 0, 0 } });
}

TEST_F(NWDataReportsTest, CategoryReportComparesAcrossMonthsWithoutAValue)
{
    setValues({ { 2020, 3, 300 }, { 2020, 2, 0 }, { 2020, 1, 100 } });
    model().nwLogArray()->at(1)->assetLogs()->clear();
    expectRows(store().getAssetReportRecords(u"A"_s, std::nullopt, std::nullopt),
        { { 2020, 3, 300, 200, 2.0 }, { 2020, 1, 100, 0, 0 } });
}

TEST_F(NWDataReportsTest, TagsReportNetsTaggedValuesAndStartsThePeriodWithoutChange)
{
    setValues({ { 2020, 3, 300 }, { 2020, 2, 200 }, { 2020, 1, 100 } }, { { 2020, 3, 50 }, { 2020, 2, 50 } });
    // An untagged category plays no part.
    model().assetscat()->append(makeCategory(u"B"_s, u"Other"_s, QStringList { u"X"_s }));
    model().nwLogArray()->at(0)->assetLogs()->append(makeLog(u"B"_s, 2020, 3, 1000));

    expectRows(store().getTaggedRecords({ u"T"_s }, std::nullopt, std::nullopt),
        { { 2020, 3, 250, 100, 100.0 / 150 }, { 2020, 2, 150, 50, 0.5 }, { 2020, 1, 100, 0, 0 } });
    expectRows(store().getTaggedRecords({ u"T"_s }, month(2020, 3), month(2020, 2)),
        { { 2020, 3, 250, 100, 100.0 / 150 }, { 2020, 2, 150, 0, 0 } });
    expectRows(store().getTaggedRecords({ u"X"_s, u"T"_s }, month(2020, 3), month(2020, 3)),
        { { 2020, 3, 1250, 0, 0 } });
    // No tags: one row per record, nothing in it.
    expectRows(store().getTaggedRecords({}, std::nullopt, std::nullopt),
        { { 2020, 3, 0, 0, 0 }, { 2020, 2, 0, 0, 0 }, { 2020, 1, 0, 0, 0 } });
}

TEST_F(NWDataReportsTest, TagsReportTakesTheDifferenceAlsoFromAnOlderAmountNearZero)
{
    setValues({ { 2020, 2, 10 }, { 2020, 1, 0.05 } });
    expectRows(store().getTaggedRecords({ u"T"_s }, std::nullopt, std::nullopt),
        { { 2020, 2, 10, 9.95, 0 }, { 2020, 1, 0.05, 0, 0 } });
}

TEST_F(NWDataReportsTest, TagTestsAndCaptions)
{
    setValues({});
    model().setTags(MVX_TagsList { makeTag(u"H"_s, u"Home"_s), makeTag(u"C"_s, u"Cars"_s),
        makeTag(u"E"_s, QString()), makeTag(u"T"_s, u"Tagged"_s) });
    EXPECT_TRUE(store().isCategoryTagged(u"A"_s, { u"Z"_s, u"T"_s }));
    EXPECT_TRUE(store().isCategoryTagged(u"L"_s, { u"T"_s }));
    EXPECT_FALSE(store().isCategoryTagged(u"A"_s, {}));
    EXPECT_FALSE(store().isCategoryTagged(u"Q"_s, { u"T"_s }));

    EXPECT_EQ(store().getTagNames({ u"C"_s, u"H"_s }), u"(Home,Cars)"_s);
    EXPECT_EQ(store().getTagNames({ u"nothing"_s }), u"()"_s);
    EXPECT_EQ(store().getTagNames({ u"H"_s, u"H"_s }), u"(Home,Home)"_s);
    // An empty first name leaves the caption at one character, so no comma follows it.
    EXPECT_EQ(store().getTagNames({ u"E"_s, u"T"_s }), u"(Tagged)"_s);
}

} // namespace
