#include "ReportChoiceTestSupport.h"

#include "platform/Clock.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
namespace keys = ReportChoiceSettings;

namespace {

class ReportChoicePrint : public ReportChoiceTest {
protected:
    const platform::ScopedClock clock { QDateTime(QDate(2026, 12, 7), QTime(8, 0)) };
};

TEST_F(ReportChoicePrint, PrintWritesTheChoicesOfTheChosenKindBeforeItPosts)
{
    struct Case {
        int kind;
        QString prefix;
    };
    for (const Case& c :
        { Case { 0, {} }, Case { 1, u"ass"_s }, Case { 2, u"lbl"_s }, Case { 3, u"tag"_s } }) {
        SCOPED_TRACE(c.kind);
        posts.clear();
        for (const QString& key : { keys::includeNameKey, keys::includeNWGoalKey, keys::nameFieldKey })
            defaults().remove(key);
        const auto choice = open();
        clickTab(*choice, c.kind);
        choose(*choice, u"monthCtl"_s, 3);
        choose(*choice, u"yearCtl"_s, 2024);
        // The other tabs' periods are not the chosen kind's.
        for (const QString& other : { u"ass"_s, u"lbl"_s, u"tag"_s }) {
            choose(*choice, other + u"FromMonth"_s, other == c.prefix ? 9 : 5);
            choose(*choice, other + u"FromYear"_s, other == c.prefix ? 2023 : 2010);
            choose(*choice, other + u"ToMonth"_s, other == c.prefix ? 2 : 4);
            choose(*choice, other + u"ToYear"_s, other == c.prefix ? 2021 : 2009);
        }
        child<QCheckBox>(*choice, u"includeName"_s)->click();
        child<QLineEdit>(*choice, u"nameField"_s)->setText(u"Ada Lovelace"_s);
        child<QCheckBox>(*choice, u"includeNWGoal"_s)->click();
        child<QPushButton>(*choice, u"printButton"_s)->click();

        ASSERT_EQ(posts.size(), 1);
        EXPECT_EQ(posts.first().object.toInt(), c.kind);
        const QVariantMap& disk = posts.first().onDisk;
        EXPECT_EQ(disk.value(keys::nameFieldKey).toString(), u"Ada Lovelace"_s);
        EXPECT_EQ(disk.value(keys::includeNameKey), QVariant(true));
        EXPECT_EQ(disk.value(keys::includeNWGoalKey), QVariant(true));
        EXPECT_EQ(disk.value(keys::selectedMonthKey).toInt(), 3);
        EXPECT_EQ(disk.value(keys::selectedYearKey).toInt(), 2024);
        const bool statement = c.kind == 0;
        EXPECT_EQ(disk.value(keys::fromMonthKey).toInt(), statement ? 1 : 9);
        EXPECT_EQ(disk.value(keys::fromYearKey).toInt(), statement ? 2015 : 2023);
        EXPECT_EQ(disk.value(keys::toMonthKey).toInt(), statement ? 1 : 2);
        EXPECT_EQ(disk.value(keys::toYearKey).toInt(), statement ? 2015 : 2021);
        EXPECT_FALSE(choice->isVisible()) << "Print closes the popover";
    }
}

TEST_F(ReportChoicePrint, APeriodChosenBackwardsIsPutInOrder)
{
    const auto choice = open();
    clickTab(*choice, 3);
    choose(*choice, u"tagFromMonth"_s, 1);
    choose(*choice, u"tagFromYear"_s, 2020);
    choose(*choice, u"tagToMonth"_s, 6);
    choose(*choice, u"tagToYear"_s, 2024);
    choice->printAction();
    ASSERT_EQ(posts.size(), 1);
    const QVariantMap& disk = posts.first().onDisk;
    EXPECT_EQ(disk.value(keys::fromMonthKey).toInt(), 6);
    EXPECT_EQ(disk.value(keys::fromYearKey).toInt(), 2024);
    EXPECT_EQ(disk.value(keys::toMonthKey).toInt(), 1);
    EXPECT_EQ(disk.value(keys::toYearKey).toInt(), 2020);
    // Within one year the months decide.
    EXPECT_EQ(
        keys::orderedPeriod({ { 2, 2024 }, { 11, 2024 } }), (keys::Period { { 11, 2024 }, { 2, 2024 } }));
    EXPECT_EQ(
        keys::orderedPeriod({ { 11, 2024 }, { 11, 2024 } }), (keys::Period { { 11, 2024 }, { 11, 2024 } }));
}

TEST_F(ReportChoicePrint, CancelClosesAndWritesNothing)
{
    const QVariantMap before = everythingOnDisk();
    const auto choice = open();
    clickTab(*choice, 1);
    choose(*choice, u"assFromMonth"_s, 2);
    child<QCheckBox>(*choice, u"includeName"_s)->click();
    child<QLineEdit>(*choice, u"nameField"_s)->setText(u"Ada"_s);
    child<QPushButton>(*choice, u"cancelButton"_s)->click();
    EXPECT_FALSE(choice->isVisible());
    EXPECT_TRUE(posts.isEmpty());
    // Opening stored the first categories; Cancel added nothing to that.
    QVariantMap expected = before;
    expected.insert(keys::assetCategoryKey, u"A-HOME"_s);
    expected.insert(keys::liabilityCategoryKey, u"L-MORT"_s);
    EXPECT_EQ(everythingOnDisk(), expected);
}

TEST_F(ReportChoicePrint, StoredPeriodReadsBackInOrderWithZeroForMissingKeys)
{
    EXPECT_EQ(keys::period(), (keys::Period { { 0, 0 }, { 0, 0 } }));
    defaults().setValue(keys::fromMonthKey, 3);
    defaults().setValue(keys::fromYearKey, 2019);
    defaults().setValue(keys::toMonthKey, 8);
    defaults().setValue(keys::toYearKey, 2022);
    EXPECT_EQ(keys::period(), (keys::Period { { 8, 2022 }, { 3, 2019 } }));
    EXPECT_FALSE(keys::selectedMonth());
    defaults().setValue(keys::selectedMonthKey, 4);
    EXPECT_FALSE(keys::selectedMonth()) << "a month without its year is no choice";
    defaults().setValue(keys::selectedYearKey, 2020);
    EXPECT_EQ(keys::selectedMonth(), (keys::MonthYear { 4, 2020 }));
}

// Months and years from the settings file are read within what the dates can hold.
TEST_F(ReportChoiceTest, StoredMonthsAndYearsStayWithinWhatADateHolds)
{
    defaults().setValue(keys::fromMonthKey, qint64(std::numeric_limits<int>::max()) + 1);
    defaults().setValue(keys::fromYearKey, 1e300);
    defaults().setValue(keys::toMonthKey, std::numeric_limits<double>::quiet_NaN());
    defaults().setValue(keys::toYearKey, qint64(std::numeric_limits<int>::min()));
    EXPECT_EQ(keys::period(), (keys::Period { { keys::mostMonth, keys::mostYear }, { 0, 0 } }));
    defaults().setValue(keys::selectedMonthKey, -4);
    defaults().setValue(keys::selectedYearKey, qint64(1) << 40);
    EXPECT_EQ(keys::selectedMonth(), (keys::MonthYear { 0, keys::mostYear }));
}

} // namespace
