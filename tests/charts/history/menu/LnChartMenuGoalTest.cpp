#include "LnChartMenuTestSupport.h"

#include "charts/common/ChartNotifications.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
namespace keys = HistoryChartSettings;

namespace {

class LnChartMenuGoalTest : public LnChartMenuTest {
protected:
    void SetUp() override
    {
        LnChartMenuTest::SetUp();
        keys::setShowGoal(true);
    }
    /// Replaces the field's text as typed and ends with Return.
    static void enter(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QLineEdit* field(const QString& name) const { return child<QLineEdit>(*menu, name); }
    QString message() const { return child<QLabel>(*menu, u"goalMessageLabel"_s)->text(); }

    std::unique_ptr<LnChartMenuViewController> menu;
};

TEST_F(LnChartMenuGoalTest, AgeAndIncomeGiveTheSuggestedGoalStoredAsTheModelsGoalAndPosted)
{
    const auto& seen = watch(notifications::goalSettingsChange, keys::suggestedGoalKey);
    menu = open();
    EXPECT_EQ(child<QLabel>(*menu, u"nwSuggestedGoalLabel"_s)->text(), u"-"_s);

    enter(field(u"nwAge"_s), u"40"_s);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_FALSE(seen.last().object.isValid()) << "no income yet: no goal";
    EXPECT_FALSE(model->ridIrevuGoal());

    enter(field(u"nwAnnualIncome"_s), u"60000"_s);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.last().object.toDouble(), 240000.0);
    EXPECT_EQ(seen.last().keyOnDisk.toDouble(), 240000.0);
    EXPECT_EQ(model->ridIrevuGoal(), 240000.0);
    EXPECT_EQ(child<QLabel>(*menu, u"nwSuggestedGoalLabel"_s)->text(), u"$240,000"_s);
    EXPECT_EQ(field(u"nwAnnualIncome"_s)->text(), u"$60,000"_s);
    EXPECT_EQ(onDisk(keys::ageKey).toInt(), 40);

    // Clearing the age leaves no goal, not the last one worked out.
    enter(field(u"nwAge"_s), QString());
    EXPECT_FALSE(seen.last().object.isValid());
    EXPECT_FALSE(seen.last().keyOnDisk.isValid());
    EXPECT_FALSE(model->ridIrevuGoal());
    EXPECT_FALSE(keys::goal(model->ridIrevuGoal()));
}

TEST_F(LnChartMenuGoalTest, FieldsCommitOnReturnAndOnLeavingNotOnEveryKey)
{
    const auto& seen = watch(notifications::goalSettingsChange, keys::ageKey);
    menu = open();
    QLineEdit* age = field(u"nwAge"_s);
    QTest::keyClicks(age, u"42"_s);
    EXPECT_TRUE(seen.isEmpty());
    QTest::keyClick(age, Qt::Key_Return);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen.last().keyOnDisk.toInt(), 42);
    QTest::keyClick(age, Qt::Key_Return);
    EXPECT_EQ(seen.size(), 1) << "nothing typed since: nothing to commit";

    QTest::keyClick(age, Qt::Key_Backspace);
    QTest::keyClicks(age, u"7"_s);
    EXPECT_EQ(seen.size(), 1);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(age, &leave);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.last().keyOnDisk.toInt(), 47);
}

TEST_F(LnChartMenuGoalTest, ClearingTheFixedGoalIsNoGoal)
{
    keys::setGoalType(keys::GoalType::Fixed);
    keys::setGoalAmount(500000.0);
    model->setRidIrevuGoal(500000.0);
    const auto& seen = watch(notifications::goalSettingsChange, keys::goalAmountKey);
    menu = open();
    EXPECT_EQ(field(u"nwGoalAmount"_s)->text(), u"$500,000.00"_s);

    enter(field(u"nwGoalAmount"_s), QString());
    ASSERT_EQ(seen.size(), 1);
    EXPECT_FALSE(seen.last().object.isValid());
    EXPECT_FALSE(seen.last().keyOnDisk.isValid()) << "the key is removed, not set to 0";
    EXPECT_FALSE(model->ridIrevuGoal());

    enter(field(u"nwGoalAmount"_s), u"750000"_s);
    EXPECT_EQ(seen.last().object.toDouble(), 750000.0);
    EXPECT_EQ(seen.last().keyOnDisk.toDouble(), 750000.0);
    EXPECT_EQ(model->ridIrevuGoal(), 750000.0);
}

TEST_F(LnChartMenuGoalTest, TextThatIsNoNumberIsRefusedAndNeverSavedAsZero)
{
    keys::setAge(40);
    keys::setAnnualIncome(60000.0);
    keys::setGoalAmount(500000.0);
    model->setRidIrevuGoal(240000.0);
    const auto& seen = watch(notifications::goalSettingsChange, keys::ageKey);
    menu = open();

    enter(field(u"nwAge"_s), u"forty"_s);
    EXPECT_EQ(field(u"nwAge"_s)->text(), u"40"_s);
    EXPECT_FALSE(message().isEmpty());
    enter(field(u"nwAnnualIncome"_s), u"inf"_s);
    EXPECT_EQ(field(u"nwAnnualIncome"_s)->text(), u"$60,000"_s);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(onDisk(keys::ageKey).toInt(), 40);
    EXPECT_EQ(onDisk(keys::annualIncomeKey).toDouble(), 60000.0);
    EXPECT_EQ(model->ridIrevuGoal(), 240000.0);

    clickSegment(*menu, u"nwGoalTypeCtl"_s, 1);
    enter(field(u"nwGoalAmount"_s), u"nan"_s);
    EXPECT_EQ(field(u"nwGoalAmount"_s)->text(), u"$500,000.00"_s);
    EXPECT_EQ(onDisk(keys::goalAmountKey).toDouble(), 500000.0);
    enter(field(u"nwAge"_s), u"41"_s);
    EXPECT_TRUE(message().isEmpty()) << "an accepted entry clears the message";
}

TEST_F(LnChartMenuGoalTest, SwitchingTheGoalKindMakesThatGoalTheModelsGoal)
{
    keys::setAge(40);
    keys::setAnnualIncome(60000.0);
    keys::setGoalAmount(500000.0);
    const auto& seen = watch(notifications::goalSettingsChange, keys::goalTypeKey);
    menu = open();
    EXPECT_FALSE(field(u"nwGoalAmount"_s)->isVisible());
    EXPECT_TRUE(field(u"nwAge"_s)->isVisible());

    clickSegment(*menu, u"nwGoalTypeCtl"_s, 1);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen.last().keyOnDisk.toInt(), 1);
    EXPECT_EQ(seen.last().object.toDouble(), 500000.0);
    EXPECT_EQ(model->ridIrevuGoal(), 500000.0);
    EXPECT_TRUE(field(u"nwGoalAmount"_s)->isVisible());
    EXPECT_FALSE(field(u"nwAge"_s)->isVisible());

    keys::setAnnualIncome(50000.0);
    clickSegment(*menu, u"nwGoalTypeCtl"_s, 0);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.last().object.toDouble(), 200000.0) << "the age field and the stored income";
    EXPECT_EQ(model->ridIrevuGoal(), 200000.0);
}

TEST_F(LnChartMenuGoalTest, TheGoalSwitchPostsNoGoalAndLeavesTheModelsGoal)
{
    model->setRidIrevuGoal(123.0);
    const auto& seen = watch(notifications::goalSettingsChange, keys::showGoalKey);
    menu = open();
    EXPECT_TRUE(field(u"nwAge"_s)->isEnabled());
    child<QCheckBox>(*menu, u"nwGoal"_s)->click();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_FALSE(seen.last().object.isValid());
    EXPECT_EQ(seen.last().keyOnDisk.toString(), u"false"_s);
    EXPECT_EQ(model->ridIrevuGoal(), 123.0);
    EXPECT_FALSE(field(u"nwAge"_s)->isEnabled());
}

} // namespace
