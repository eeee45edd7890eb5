#include "ReportChoiceTestSupport.h"

#include "categories/filter/NWTagSelectionCellView.h"
#include "platform/Clock.h"
#include "support/TextFits.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
namespace keys = ReportChoiceSettings;

namespace {

const QStringList monthMenus { u"monthCtl"_s, u"assFromMonth"_s, u"assToMonth"_s, u"lblFromMonth"_s,
    u"lblToMonth"_s, u"tagFromMonth"_s, u"tagToMonth"_s };
const QStringList yearMenus { u"yearCtl"_s, u"assFromYear"_s, u"assToYear"_s, u"lblFromYear"_s,
    u"lblToYear"_s, u"tagFromYear"_s, u"tagToYear"_s };

QCheckBox* tagBox(const ReportChoiceController& choice, int row)
{
    return ReportChoiceTest::rowOf(choice, u"tagTableView"_s, row)
        ->findChild<NWTagSelectionCellView*>()
        ->tagCheckBox();
}

TEST_F(ReportChoiceTest, EveryPopUpHasItsOwnMenuOfTwelveMonthsOrEightyOneYears)
{
    const platform::ScopedClock clock(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    const auto choice = open();
    const QLocale locale;
    QList<QAbstractItemModel*> models;
    for (const QString& name : monthMenus) {
        SCOPED_TRACE(name.toStdString());
        auto* box = child<QComboBox>(*choice, name);
        ASSERT_EQ(box->count(), 12);
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(box->itemData(i).toInt(), i + 1);
            EXPECT_EQ(box->itemText(i), locale.toString(QDate(2015, i + 1, 1), u"MMM"_s));
        }
        models << box->model();
    }
    for (const QString& name : yearMenus) {
        SCOPED_TRACE(name.toStdString());
        auto* box = child<QComboBox>(*choice, name);
        ASSERT_EQ(box->count(), 81);
        EXPECT_EQ(box->itemText(0), u"1974"_s);
        EXPECT_EQ(box->itemText(80), u"2054"_s);
        for (int i = 0; i < 81; ++i)
            EXPECT_EQ(box->itemData(i).toInt(), 1974 + i);
        models << box->model();
    }
    // No two pop-ups share a menu: choosing in one leaves the others.
    EXPECT_EQ(QSet<QAbstractItemModel*>(models.cbegin(), models.cend()).size(), 14);
    choose(*choice, u"assFromMonth"_s, 3);
    EXPECT_EQ(chosen(*choice, u"assFromMonth"_s), 3);
    for (const QString& other : monthMenus.mid(2))
        EXPECT_NE(chosen(*choice, other), 3) << other.toStdString();
}

TEST_F(ReportChoiceTest, MonthsAndPeriodsStartFromTodayInEveryMonth)
{
    // Stored choices of month and period are not read back.
    defaults().setValue(keys::selectedMonthKey, 7);
    defaults().setValue(keys::fromYearKey, 2001);
    for (int month = 1; month <= 12; ++month) {
        SCOPED_TRACE(month);
        const platform::ScopedClock clock(QDateTime(QDate(2026, month, 28), QTime(23, 30)));
        const auto choice = open();
        EXPECT_EQ(chosen(*choice, u"monthCtl"_s), month);
        EXPECT_EQ(chosen(*choice, u"yearCtl"_s), 2026);
        for (const QString& prefix : { u"ass"_s, u"lbl"_s, u"tag"_s }) {
            EXPECT_EQ(chosen(*choice, prefix + u"FromMonth"_s), month);
            EXPECT_EQ(chosen(*choice, prefix + u"FromYear"_s), 2026);
            EXPECT_EQ(chosen(*choice, prefix + u"ToMonth"_s), 1);
            EXPECT_EQ(chosen(*choice, prefix + u"ToYear"_s), 2025);
        }
        EXPECT_EQ(choice->reportType(), 0);
    }
}

TEST_F(ReportChoiceTest, TheStatementStartsOnTheNewestRecordsMonth)
{
    // Newest December 2025, not first in the list; a new month has begun since.
    model->setNwLogArray(MVX_NWLogList { recordWith(2025, 11, {}, {}), recordWith(2024, 12, {}, {}),
        recordWith(2025, 12, {}, {}), recordWith(2025, 10, {}, {}) });
    const platform::ScopedClock clock(QDateTime(QDate(2026, 1, 1), QTime(0, 5)));
    const auto choice = open();
    EXPECT_EQ(chosen(*choice, u"monthCtl"_s), 12);
    EXPECT_EQ(chosen(*choice, u"yearCtl"_s), 2025);
    // The periods still end today.
    EXPECT_EQ(chosen(*choice, u"assFromMonth"_s), 1);
    EXPECT_EQ(chosen(*choice, u"assFromYear"_s), 2026);

    // Printing at once asks for the newest record's statement.
    choice->printAction();
    EXPECT_EQ(keys::selectedMonth().value_or(keys::MonthYear {}).month, 12);
    EXPECT_EQ(keys::selectedMonth().value_or(keys::MonthYear {}).year, 2025);
}

TEST_F(ReportChoiceTest, AYearOutsideTheMenusSelectsNothingNew)
{
    const platform::ScopedClock clock(QDateTime(QDate(2060, 5, 1), QTime(12, 0)));
    const auto choice = open();
    EXPECT_EQ(chosen(*choice, u"monthCtl"_s), 5);
    // The pop-ups keep what they had: the first year.
    EXPECT_EQ(chosen(*choice, u"yearCtl"_s), 1974);
    EXPECT_EQ(chosen(*choice, u"assToYear"_s), 1974);
}

TEST_F(ReportChoiceTest, TabsSetTheReportKind)
{
    const auto choice = open();
    for (int kind : { 2, 3, 1, 0 }) {
        clickTab(*choice, kind);
        EXPECT_EQ(choice->reportType(), kind);
    }
}

TEST_F(ReportChoiceTest, EmptyOrVanishedCategoryKeyTakesTheFirstCategoryAtOpening)
{
    struct Case {
        const char* what;
        QVariant stored;
    };
    for (const Case& c : { Case { "empty", u""_s }, Case { "absent", QVariant() },
             Case { "deleted category", u"A-GONE"_s }, Case { "not a text", 42 } }) {
        SCOPED_TRACE(c.what);
        defaults().setValueAndSynchronize(keys::assetCategoryKey, c.stored);
        defaults().setValueAndSynchronize(keys::liabilityCategoryKey, c.stored);
        const auto choice = open();
        EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-HOME"_s);
        EXPECT_EQ(everythingOnDisk().value(keys::liabilityCategoryKey).toString(), u"L-MORT"_s);
        EXPECT_EQ(choice->indexOfSelectedAssetCategory(), 0);
        EXPECT_TRUE(marked(*choice, u"assetsTableView"_s, 0));
        EXPECT_FALSE(marked(*choice, u"assetsTableView"_s, 1));
    }
}

TEST_F(ReportChoiceTest, WithoutCategoriesTheKeyStaysAsItWas)
{
    model->setAssetscat(MVX_CategoryList());
    model->setLiabilitycat(std::nullopt);
    defaults().setValueAndSynchronize(keys::assetCategoryKey, u"A-GONE"_s);
    const auto choice = open();
    EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-GONE"_s);
    EXPECT_FALSE(everythingOnDisk().contains(keys::liabilityCategoryKey));
    EXPECT_EQ(choice->indexOfSelectedAssetCategory(), -1);
    EXPECT_EQ(child<QListView>(*choice, u"assetsTableView"_s)->model()->rowCount(), 0);
    clickTab(*choice, 1);
    EXPECT_TRUE(child<QWidget>(*choice, u"tabViewAssetsEmpty"_s)->isVisibleTo(choice.get()));
    EXPECT_FALSE(child<QWidget>(*choice, u"assetsTableView"_s)->isVisibleTo(choice.get()));
}

TEST_F(ReportChoiceTest, PickingACategoryStoresItAtOnceAndMovesTheMark)
{
    defaults().setValueAndSynchronize(keys::assetCategoryKey, u"A-SAVE"_s);
    const auto choice = open();
    new QAbstractItemModelTester(child<QListView>(*choice, u"assetsTableView"_s)->model(),
        QAbstractItemModelTester::FailureReportingMode::Warning, choice.get());
    EXPECT_TRUE(marked(*choice, u"assetsTableView"_s, 1));
    pick(*choice, u"assetsTableView"_s, 2);
    EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-CAR"_s);
    EXPECT_FALSE(marked(*choice, u"assetsTableView"_s, 1));
    EXPECT_TRUE(marked(*choice, u"assetsTableView"_s, 2));
    EXPECT_EQ(choice->indexOfSelectedAssetCategory(), 2);
    pick(*choice, u"liabilitiesTableView"_s, 1);
    EXPECT_EQ(everythingOnDisk().value(keys::liabilityCategoryKey).toString(), u"L-CARD"_s);
    // Cancel keeps what was picked.
    choice->cancelAction();
    EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-CAR"_s);
    EXPECT_TRUE(posts.isEmpty());
}

TEST_F(ReportChoiceTest, PickingTheChosenCategoryWritesNothing)
{
    defaults().setValueAndSynchronize(keys::assetCategoryKey, u"A-SAVE"_s);
    const auto choice = open();
    defaults().remove(keys::assetCategoryKey);
    defaults().synchronize();
    choice->assetCategoryPicked(1);
    EXPECT_FALSE(everythingOnDisk().contains(keys::assetCategoryKey));
    EXPECT_TRUE(marked(*choice, u"assetsTableView"_s, 1));
}

TEST_F(ReportChoiceTest, OfTwoCategoriesOfOneNameThePickedOneIsStored)
{
    model->assetscat()->append(category(u"A-SAVE-2"_s, u"Savings"_s));
    const auto choice = open();
    pick(*choice, u"assetsTableView"_s, 3);
    EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-SAVE-2"_s);
    pick(*choice, u"assetsTableView"_s, 1);
    EXPECT_EQ(everythingOnDisk().value(keys::assetCategoryKey).toString(), u"A-SAVE"_s);
}

TEST_F(ReportChoiceTest, TagBoxesKeepEachTagOnceAndStoreAtOnce)
{
    // An ID that names no tag stays; a duplicate goes with the tag's box.
    defaults().setValueAndSynchronize(
        keys::tagIDsKey(), QStringList { u"T-GONE"_s, u"T-HOME"_s, u"T-HOME"_s });
    const auto choice = open();
    EXPECT_TRUE(tagBox(*choice, 0)->isChecked());
    EXPECT_FALSE(tagBox(*choice, 1)->isChecked());
    tagBox(*choice, 1)->click();
    choice->tagRowCheckHandler(1, true);
    EXPECT_EQ(everythingOnDisk().value(keys::tagIDsKey()).toStringList(),
        (QStringList { u"T-GONE"_s, u"T-HOME"_s, u"T-HOME"_s, u"T-TRAVEL"_s }));
    tagBox(*choice, 0)->click();
    EXPECT_EQ(everythingOnDisk().value(keys::tagIDsKey()).toStringList(),
        (QStringList { u"T-GONE"_s, u"T-TRAVEL"_s }));
    choice->tagRowCheckHandler(7, true);
    EXPECT_EQ(choice->selectedTagIDs(), (QStringList { u"T-GONE"_s, u"T-TRAVEL"_s }));
    EXPECT_TRUE(posts.isEmpty());
}

TEST_F(ReportChoiceTest, NameAndCheckBoxesComeBackFromTheKeys)
{
    {
        const auto choice = open();
        EXPECT_TRUE(child<QLineEdit>(*choice, u"nameField"_s)->text().isEmpty());
        EXPECT_FALSE(child<QCheckBox>(*choice, u"includeName"_s)->isChecked());
        EXPECT_FALSE(child<QLineEdit>(*choice, u"nameField"_s)->isEnabled());
        child<QCheckBox>(*choice, u"includeName"_s)->click();
        EXPECT_TRUE(child<QLineEdit>(*choice, u"nameField"_s)->isEnabled());
    }
    defaults().setValue(keys::nameFieldKey, u"Ada Lovelace"_s);
    defaults().setValue(keys::includeNameKey, true);
    defaults().setValue(keys::includeNWGoalKey, true);
    const auto choice = open();
    EXPECT_EQ(child<QLineEdit>(*choice, u"nameField"_s)->text(), u"Ada Lovelace"_s);
    EXPECT_TRUE(child<QCheckBox>(*choice, u"includeName"_s)->isChecked());
    EXPECT_TRUE(child<QLineEdit>(*choice, u"nameField"_s)->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(*choice, u"includeNWGoal"_s)->isChecked());
}

class ReportChoiceTexts : public ReportChoiceTest { };

TEST_F(ReportChoiceTexts, EveryTabShowsItsTextsWhole)
{
    model->assetscat()->append(category(u"A-LONG"_s, u"A rather long name of a savings account"_s));
    ReportChoiceController choice;
    choice.show();
    QCoreApplication::processEvents();
    for (int tab = 0; tab < 4; ++tab) {
        ReportChoiceTest::clickTab(choice, tab);
        QCoreApplication::processEvents();
        expectEveryTextFits(choice, qPrintable(u"tab %1"_s.arg(tab)));
    }
}

} // namespace
