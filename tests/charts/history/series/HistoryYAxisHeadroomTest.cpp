#include "charts/history/series/HistoryAxes.h"

#include <gtest/gtest.h>

using namespace historyseries;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList texts(const YAxisLayout& layout)
{
    QStringList all;
    for (const AxisMark& mark : layout.labels)
        all << mark.text;
    return all;
}

const auto whole = [](double value) { return QString::number(value, 'f', 0); };

// The axis runs 20 % past the largest value, so a label up to 10 % above it is still on the chart.
TEST(HistoryYAxisHeadroom, LabelsReachATenthAboveTheLargestValue)
{
    const YAxisLayout layout = yAxisLayout(ValueExtent { 0, 1150 }, whole);
    EXPECT_EQ(layout.tickInterval, 300.0);
    EXPECT_EQ(texts(layout), (QStringList { u"300"_s, u"600"_s, u"900"_s, u"1200"_s }));
    ASSERT_TRUE(layout.range);
    EXPECT_GT(layout.range->first + layout.range->second, 1200.0);

    // Just past a tenth above: that label is left out.
    EXPECT_EQ(
        texts(yAxisLayout(ValueExtent { 0, 1090 }, whole)), (QStringList { u"300"_s, u"600"_s, u"900"_s }));
}

} // namespace
