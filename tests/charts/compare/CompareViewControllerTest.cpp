#include "charts/compare/CompareViewController.h"
#include "app/shell/ScreenProvider.h"
#include "charts/compare/CategoryCompareModel.h"
#include "charts/compare/CompareFigures.h"
#include "charts/compare/StatisticsChartView.h"
#include "model/ModelNotifications.h"
#include "model/data/ModelRules.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"
#include "support/TextFits.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTimeZone>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// Texts a number that is not one would leave ("inf", "nan", "∞").
bool readsAsNoNumber(const QString& text)
{
    return text.contains(u"inf"_s, Qt::CaseInsensitive) || text.contains(u"nan"_s, Qt::CaseInsensitive)
        || text.contains(QChar(0x221E));
}

class CompareViewControllerTest : public SharedStoreTest {
protected:
    // Assets House and Cash, liability Loan; records for December 2025 to February 2026.
    void install()
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setAssetscat(MVX_CategoryList {
            category(u"H"_s, u"House"_s), category(u"C"_s, u"Cash"_s), category(u"N"_s, u"New car"_s) });
        model->setLiabilitycat(MVX_CategoryList { category(u"L"_s, u"Loan"_s) });
        model->setNwLogArray(MVX_NWLogList {
            recordWith(2026, 2, { { u"H"_s, 140000 }, { u"C"_s, 10000 } }, { { u"L"_s, 50000 } }),
            recordWith(2026, 1, { { u"H"_s, 150000 }, { u"C"_s, 50000 } }, { { u"L"_s, 40000 } }),
            recordWith(2025, 12, { { u"H"_s, 0 } }, { { u"L"_s, 20000 } }) });
        store().setAppData(model);
    }

    static QString text(CompareViewController& screen, const QString& name)
    {
        QLabel* label = screen.headerField(name);
        return label ? label->text() : u"<none>"_s;
    }

    static QStringList changes(CompareViewController& screen)
    {
        QStringList result;
        for (const QString& name : { u"ad_1"_s, u"ld_1"_s, u"nwd_1"_s, u"ad_2"_s, u"ld_2"_s, u"nwd_2"_s })
            result.append(text(screen, name));
        return result;
    }

    static void pick(QListWidget* list, int row) { list->setCurrentRow(row); }
};

TEST_F(CompareViewControllerTest, StartsWithThePreviousAndTheCurrentMonthAndFollowsTheLists)
{
    install();
    const platform::ScopedClock clock(QDateTime(QDate(2026, 2, 15), QTime(12, 0), QTimeZone::utc()));
    CompareViewController screen;

    // January 2026 (row 40 of 2026 - 40 ...) against February 2026.
    EXPECT_EQ(screen.yearTableView1()->currentRow(), 40);
    EXPECT_EQ(screen.monthTableView1()->currentRow(), 0);
    EXPECT_EQ(screen.yearTableView2()->currentRow(), 40);
    EXPECT_EQ(screen.monthTableView2()->currentRow(), 1);
    EXPECT_EQ(screen.yearTableView1()->count(), 80);
    EXPECT_EQ(screen.yearTableView1()->item(0)->text(), u"1986"_s);
    EXPECT_EQ(text(screen, u"a_1"_s), u"$200,000"_s);
    EXPECT_EQ(text(screen, u"a_2"_s), u"$150,000"_s);
    EXPECT_EQ(text(screen, u"nw_2"_s), u"$100,000"_s);
    EXPECT_EQ(changes(screen),
        (QStringList {
            u"($50,000)"_s, u"$10,000"_s, u"($60,000)"_s, u"-25.00%"_s, u" 25.00%"_s, u"-37.50%"_s }));

    // December 2025 as the first month: assets from 0 to 200,000, percentage of nothing 0.
    pick(screen.monthTableView1(), 11);
    pick(screen.yearTableView1(), 39);
    EXPECT_EQ(screen.selectedMonth1(), 12);
    EXPECT_EQ(screen.selectedYear1(), 2025);
    EXPECT_EQ(screen.selectedMonth2(), 2);
    EXPECT_EQ(screen.selectedYear2(), 2026);
    EXPECT_EQ(text(screen, u"nw_1"_s), u"($20,000)"_s);
    EXPECT_EQ(text(screen, u"ad_1"_s), u"$150,000"_s);
    EXPECT_EQ(text(screen, u"ad_2"_s), u"  0.00%"_s);
    // Net worth from -20,000 to 100,000: a rise of 600 %.
    EXPECT_EQ(text(screen, u"nwd_2"_s), u"600.00%"_s);

    // A month without a record, first or second: its figures empty, every change "-".
    pick(screen.monthTableView2(), 5);
    EXPECT_TRUE(text(screen, u"a_2"_s).isEmpty());
    EXPECT_TRUE(text(screen, u"nw_2"_s).isEmpty());
    EXPECT_EQ(changes(screen), QStringList(6, u"-"_s));
    pick(screen.monthTableView2(), 1);
    pick(screen.monthTableView1(), 3);
    EXPECT_TRUE(text(screen, u"l_1"_s).isEmpty());
    EXPECT_EQ(text(screen, u"l_2"_s), u"$50,000"_s);
    EXPECT_EQ(changes(screen), QStringList(6, u"-"_s));

    // A cleared selection reads as month 0: no record.
    screen.monthTableView1()->clearSelection();
    EXPECT_EQ(screen.selectedMonth1(), 0);
    EXPECT_EQ(changes(screen), QStringList(6, u"-"_s));
}

TEST_F(CompareViewControllerTest, InJanuaryTheFirstMonthIsDecemberOfThePreviousYear)
{
    install();
    const platform::ScopedClock clock(QDateTime(QDate(2026, 1, 3), QTime(9, 0), QTimeZone::utc()));
    CompareViewController screen;
    EXPECT_EQ(screen.yearTableView1()->currentRow(), 39);
    EXPECT_EQ(screen.monthTableView1()->currentRow(), 11);
    EXPECT_EQ(screen.yearTableView2()->currentRow(), 40);
    EXPECT_EQ(screen.monthTableView2()->currentRow(), 0);
    EXPECT_EQ(screen.selectedYear1(), 2025);
    EXPECT_EQ(text(screen, u"l_1"_s), u"$20,000"_s);
    EXPECT_EQ(text(screen, u"ld_1"_s), u"$20,000"_s);
    EXPECT_EQ(text(screen, u"ld_2"_s), u"100.00%"_s);
}

TEST_F(CompareViewControllerTest, DetailedComparisonFollowsItsPopupsAndTheHeaderCrosswise)
{
    install();
    const platform::ScopedClock clock(QDateTime(QDate(2026, 2, 15), QTime(12, 0), QTimeZone::utc()));
    CompareViewController screen;
    QAbstractItemModelTester assetsTester(screen.assetsModel());
    QAbstractItemModelTester liabilitiesTester(screen.liabilitiesModel());

    // First appearance: this month against January of the previous year, which has no record.
    EXPECT_EQ(screen.logMonth1()->currentText(), u"Feb"_s);
    EXPECT_EQ(screen.logYear1()->currentText(), u"2026"_s);
    EXPECT_EQ(screen.logMonth2()->currentText(), u"Jan"_s);
    EXPECT_EQ(screen.logYear2()->currentText(), u"2025"_s);
    EXPECT_EQ(screen.logYear1()->count(), 81);
    EXPECT_EQ(screen.compareLog1()->month(), 2);
    EXPECT_EQ(screen.compareLog2(), nullptr);
    EXPECT_EQ(screen.detailField(u"assetsLog1Totals"_s)->text(), u"$150,000"_s);
    EXPECT_EQ(screen.detailField(u"assetsLog2Totals"_s)->text(), u"-"_s);
    EXPECT_EQ(screen.detailField(u"assetsDiffTotals"_s)->text(), u"$150,000"_s);
    EXPECT_EQ(screen.detailField(u"log1AssetLabel"_s)->text(), u"Feb 2026"_s);
    EXPECT_EQ(screen.detailField(u"log2LiabilityLabel"_s)->text(), u"Jan 2025"_s);

    // A change in the month lists: the pop-ups take the second month first, the first second.
    pick(screen.monthTableView1(), 11);
    pick(screen.yearTableView1(), 39);
    EXPECT_EQ(screen.logMonth1()->currentText(), u"Feb"_s);
    EXPECT_EQ(screen.logYear1()->currentText(), u"2026"_s);
    EXPECT_EQ(screen.logMonth2()->currentText(), u"Dec"_s);
    EXPECT_EQ(screen.logYear2()->currentText(), u"2025"_s);
    CategoryCompareModel* assets = screen.assetsModel();
    ASSERT_EQ(assets->rowCount(), 3);
    EXPECT_EQ(assets->index(0, CategoryCompareModel::NameColumn).data().toString(), u"House"_s);
    EXPECT_EQ(assets->index(0, CategoryCompareModel::FirstColumn).data().toString(), u"$140,000"_s);
    EXPECT_EQ(assets->index(0, CategoryCompareModel::SecondColumn).data().toString(), u"$0"_s);
    EXPECT_EQ(assets->index(1, CategoryCompareModel::DifferenceColumn).data().toString(), u"$10,000"_s);
    // A category without values in either month: 0, 0 and 0.
    EXPECT_EQ(assets->index(2, CategoryCompareModel::NameColumn).data().toString(), u"New car"_s);
    EXPECT_EQ(assets->values(2).first, 0);
    EXPECT_EQ(assets->values(2).second, 0);
    EXPECT_EQ(screen.liabilitiesModel()->index(0, CategoryCompareModel::DifferenceColumn).data().toString(),
        u"$30,000"_s);
    EXPECT_EQ(screen.detailField(u"liabilityDiffTotals"_s)->text(), u"$30,000"_s);
    EXPECT_EQ(screen.detailField(u"liability2Totals"_s)->text(), u"$20,000"_s);

    // A year outside the pop-ups' 1974 to 2054 leaves them as they were.
    pick(screen.yearTableView1(), 0);
    EXPECT_EQ(screen.selectedYear1(), 1986);
    pick(screen.yearTableView1(), 79);
    EXPECT_EQ(screen.selectedYear1(), 2065);
    EXPECT_EQ(screen.logYear2()->currentText(), u"1986"_s);

    // Choosing in the pop-ups: both records missing shows "-" in all six totals.
    screen.logYear1()->setCurrentIndex(0);
    screen.logYear2()->setCurrentIndex(0);
    screen.compareDateChangeMenuHandler();
    for (const QString& name : { u"assetsLog1Totals"_s, u"assetsLog2Totals"_s, u"assetsDiffTotals"_s,
             u"liabilityLog1Totals"_s, u"liability2Totals"_s, u"liabilityDiffTotals"_s })
        EXPECT_EQ(screen.detailField(name)->text(), u"-"_s) << name.toStdString();
}

TEST_F(CompareViewControllerTest, ReloadedDataRefillsTheHeaderFromTheChosenMonths)
{
    install();
    const platform::ScopedClock clock(QDateTime(QDate(2026, 2, 15), QTime(12, 0), QTimeZone::utc()));
    CompareViewController screen;
    EXPECT_EQ(text(screen, u"a_2"_s), u"$150,000"_s);
    (*store().appData()->nwLogArray())[0]->setAssets(180000);
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_EQ(text(screen, u"a_2"_s), u"$180,000"_s);
    EXPECT_EQ(text(screen, u"ad_2"_s), u"-10.00%"_s);

    // Without any data the screen still comes up, with nothing to compare.
    store().setAppData(nullptr);
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_EQ(changes(screen), QStringList(6, u"-"_s));
    EXPECT_EQ(screen.assetsModel()->rowCount(), 0);
}

TEST_F(CompareViewControllerTest, TheShellShowsTheRealScreenAndHandsItTheNetWorth)
{
    install();
    ScreenProvider screens;
    std::unique_ptr<QWidget> view(screens.createScreen(AppScreen::Compare));
    auto* screen = qobject_cast<CompareViewController*>(view.get());
    ASSERT_TRUE(screen);
    EXPECT_EQ(view->objectName(), u"CompareViewController"_s);
    // Until the shell says otherwise the user's bars stand at 300,000.
    EXPECT_EQ(screen->chartView(0)->barPlot()->bars().at(0).tip, 300000);
    screens.compareWithNetWorth(view.get(), -12345);
    EXPECT_EQ(screen->myCurrentNW(), -12345);
    for (int chart = 0; chart < 8; ++chart)
        EXPECT_EQ(screen->chartView(chart)->barPlot()->bars().at(0).tip, -12345) << chart;
    EXPECT_EQ(screen->chartView(0)->minNWValue(), -12345);

    // Placing it re-reads the detailed months from the store.
    screen->logYear1()->setCurrentIndex(screen->logYear1()->findData(2026));
    screen->logMonth1()->setCurrentIndex(0);
    screens.screenPlaced(AppScreen::Compare, view.get());
    ASSERT_TRUE(screen->compareLog1());
    EXPECT_EQ(screen->compareLog1()->month(), 1);
}

TEST_F(CompareViewControllerTest, HugeAmountsAreSetSmallerOrElidedAtTheirEndNeverCutAtTheFront)
{
    constexpr double largest = std::numeric_limits<double>::max();
    constexpr double most = ModelRules::largestAmount;
    // January and February: the largest amounts the data may hold, then the largest double
    // either way, beyond the model's rules, whose sums are no number.
    const std::vector<std::pair<std::pair<double, double>, std::pair<double, double>>> households {
        { { -most, most }, { most, -most } }, { { 1e20, largest }, { largest, 0 } },
        { { 1e20, -largest }, { -largest, 0 } }
    };
    for (const auto& [january, february] : households) {
        const std::string when = QString::number(february.first, 'g', 3).toStdString();
        SCOPED_TRACE(when);
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setAssetscat(MVX_CategoryList { category(u"C"_s, u"Cash"_s) });
        model->setLiabilitycat(MVX_CategoryList { category(u"L"_s, u"Loan"_s) });
        const auto first = recordWith(2026, 1, { { u"C"_s, january.first } }, { { u"L"_s, january.second } });
        const auto second
            = recordWith(2026, 2, { { u"C"_s, february.first } }, { { u"L"_s, february.second } });
        model->setNwLogArray(MVX_NWLogList { second, first });
        store().setAppData(model);
        const platform::ScopedClock clock(QDateTime(QDate(2026, 2, 15), QTime(12, 0), QTimeZone::utc()));
        CompareViewController screen;
        screen.resize(900, 640);
        screen.show();
        auto* tabs = screen.findChild<QTabWidget*>();
        ASSERT_TRUE(tabs);

        // What each field is to show: the header compares January with February, the detailed
        // comparison February with January of the year before (no record).
        const CompareFigures::Header header = CompareFigures::header(first.get(), second.get());
        ASSERT_EQ(screen.compareLog1(), second);
        const CompareFigures::Totals assets
            = CompareFigures::totals(second.get(), screen.compareLog2().get(), true);
        const CompareFigures::Totals liabilities
            = CompareFigures::totals(second.get(), screen.compareLog2().get(), false);
        const std::pair<QString, QString> fields[] = { { u"a_1"_s, header.assets1 },
            { u"l_1"_s, header.liabilities1 }, { u"nw_1"_s, header.netWorth1 }, { u"a_2"_s, header.assets2 },
            { u"l_2"_s, header.liabilities2 }, { u"nw_2"_s, header.netWorth2 },
            { u"ad_1"_s, header.assetsChange }, { u"ld_1"_s, header.liabilitiesChange },
            { u"nwd_1"_s, header.netWorthChange }, { u"ad_2"_s, header.assetsPercent },
            { u"ld_2"_s, header.liabilitiesPercent }, { u"nwd_2"_s, header.netWorthPercent },
            { u"assetsLog1Totals"_s, assets.first }, { u"assetsLog2Totals"_s, assets.second },
            { u"assetsDiffTotals"_s, assets.difference }, { u"liabilityLog1Totals"_s, liabilities.first },
            { u"liability2Totals"_s, liabilities.second },
            { u"liabilityDiffTotals"_s, liabilities.difference } };
        int checked = 0;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            for (const auto& [name, whole] : fields) {
                QLabel* label = screen.findChild<QLabel*>(name);
                ASSERT_TRUE(label) << name.toStdString();
                if (!label->isVisible())
                    continue;
                ++checked;
                ASSERT_FALSE(whole.isEmpty()) << name.toStdString();
                EXPECT_FALSE(readsAsNoNumber(whole)) << name.toStdString() << ": " << whole.toStdString();
                // The amount's start, whether it is shown whole, set smaller or elided at its end
                // (with the whole of it in the tooltip then).
                EXPECT_TRUE(label->text().startsWith(whole.left(4)))
                    << name.toStdString() << ": \"" << label->text().left(40).toStdString() << "\" for \""
                    << whole.left(40).toStdString() << "\"";
                EXPECT_EQ(label->toolTip(), label->text() == whole ? QString() : whole) << name.toStdString();
                expectShownFromItsStart(*label, whole, qPrintable(name));
            }
        }
        EXPECT_EQ(checked, 18);
        for (CategoryCompareModel* values : { screen.assetsModel(), screen.liabilitiesModel() }) {
            for (int column : { CategoryCompareModel::FirstColumn, CategoryCompareModel::SecondColumn,
                     CategoryCompareModel::DifferenceColumn }) {
                const QString text = values->index(0, column).data().toString();
                EXPECT_FALSE(text.isEmpty() || readsAsNoNumber(text)) << column << ": " << text.toStdString();
            }
        }
    }
}

} // namespace
