#include "records/rates/ExchangerateVC.h"
#include "records/rates/ExchangeRatesModel.h"
#include "records/rates/XchLogCellView.h"

#include "model/format/Flags.h"
#include "model/store/NWData.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCborMap>
#include <QCborValue>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListView>

#include <limits>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(ExchangeRateTextTest, AtMostTheDecimalsWithoutTrailingZerosOrGrouping)
{
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(1.23456, 2), u"1.23"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(2, 2), u"2"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(1.10, 5), u"1.1"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(0.0007556, 5), u"0.00076"_s);
    // Zeros before the separator stay.
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(100, 0), u"100"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(100, 3), u"100"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(1323.7349, 2), u"1323.73"_s);
    // Decimal counts no setting can hold: none below zero, ten at most.
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(1.5, std::numeric_limits<int>::min()), u"2"_s);
    EXPECT_EQ(
        ExchangerateVC::toDecimalExchRateString(1.0 / 3, std::numeric_limits<int>::max()), u"0.3333333333"_s);

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(1323.7349, 2), u"1323,73"_s);
    EXPECT_EQ(ExchangerateVC::toDecimalExchRateString(7.5, 4), u"7,5"_s);
    QLocale::setDefault(before);
}

// The shared store with a base currency from the table (or none) and its rates.
class RatesViewer : public mervane::test::TempHomeTest {
protected:
    void TearDown() override
    {
        NWData::shared()->setAppData(nullptr);
        NWData::shared()->setExchangeRates();
        TempHomeTest::TearDown();
    }
    static void useBase(const QString& code)
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(code);
        NWData::shared()->setAppData(model);
        NWData::shared()->exchangeRateUpdateOnBaseCurrencyChange();
    }
    // The names the row widgets show, in row order, each row made on its own and in the
    // order given (as a view asks for them when scrolling back up).
    static QStringList namesOfRows(ExchangerateVC& viewer, const QList<int>& order)
    {
        auto* list = viewer.findChild<QListView*>(u"tableView"_s);
        QStringList names(list->model()->rowCount());
        for (int row : order) {
            list->scrollTo(list->model()->index(row, 0));
            QCoreApplication::processEvents();
            auto* cell = qobject_cast<XchLogCellView*>(list->indexWidget(list->model()->index(row, 0)));
            EXPECT_NE(cell, nullptr) << "row " << row << " has no widget";
            if (cell)
                names[row] = cell->currencyName()->text();
        }
        return names;
    }
    static void setRate(const QString& code, double rate)
    {
        const std::shared_ptr<MVX_ExchangeRate> entry = NWData::shared()->exchangeRates().value(code);
        ASSERT_TRUE(entry) << code.toStdString();
        entry->setExchangeRate(rate);
    }
    static XchLogCellView* cellOf(ExchangerateVC& viewer, const QString& name)
    {
        for (auto* cell : viewer.findChildren<XchLogCellView*>())
            if (cell->currencyName()->text() == name)
                return cell;
        return nullptr;
    }
};

TEST_F(RatesViewer, ThirtyRowsByEnglishNameNeverTheBaseInWhateverOrderRowsAreMade)
{
    useBase(u"GBP"_s);
    ExchangerateVC viewer;
    QAbstractItemModelTester tester(viewer.findChild<QListView*>(u"tableView"_s)->model(),
        QAbstractItemModelTester::FailureReportingMode::Fatal);
    viewer.resize(viewer.sizeHint());
    viewer.show();
    EXPECT_EQ(viewer.findChild<QLabel*>(u"hostCurrencyLbl"_s)->text(), u"Pound sterling"_s);

    QList<int> bottomUp;
    for (int row = 29; row >= 0; --row)
        bottomUp.append(row);
    const QStringList names = namesOfRows(viewer, bottomUp);
    ASSERT_EQ(names.size(), 30);
    EXPECT_FALSE(names.contains(u"Pound sterling"_s));
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end()); // plain comparison: "US dollar" after "Turkish lira"
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(names.first(), u"Australian dollar"_s);
    EXPECT_EQ(names.last(), u"US dollar"_s);

    // The row shows flag, symbol and the price in pounds of one unit; the flag only where a
    // font draws it.
    const QModelIndex euroRow = viewer.findChild<QListView*>(u"tableView"_s)->model()->index(8, 0);
    EXPECT_EQ(euroRow.data(ExchangeRatesModel::CodeRole).toString(), u"EUR"_s);
    const QString euFlag = Flags::flagEmoji(u"EU"_s);
    EXPECT_EQ(euroRow.data(ExchangeRatesModel::FlagRole).toString(), euFlag);
    XchLogCellView* euro = cellOf(viewer, u"Euro"_s);
    ASSERT_NE(euro, nullptr);
    EXPECT_TRUE(euro->currencyFlag()->text() == euFlag || euro->currencyFlag()->text().isEmpty());
    EXPECT_EQ(euro->currencySymbol()->text(), u"€"_s);
    const double perEuro = NWData::shared()->getExchangeRateFor(u"EUR"_s);
    EXPECT_EQ(euro->exchangeRate()->text(), u"£"_s + ExchangerateVC::toDecimalExchRateString(perEuro, 5));
    EXPECT_EQ(euro->currencyName()->textFormat(), Qt::PlainText);
}

TEST_F(RatesViewer, TheFirstSortedCurrencyAsBaseIsSkipped)
{
    useBase(u"AUD"_s);
    ExchangerateVC viewer;
    viewer.resize(viewer.sizeHint());
    viewer.show();
    const QStringList names = namesOfRows(viewer, { 0, 1 });
    ASSERT_EQ(names.size(), 30);
    EXPECT_EQ(names.at(0), u"Brasilian real"_s);
    EXPECT_EQ(names.at(1), u"Bulgarian lev"_s);
}

TEST_F(RatesViewer, NoRatesNoRows)
{
    // A base currency outside the table leaves the rates empty and no local currency.
    useBase(u"XAF"_s);
    NWData::shared()->setLocalCurrency(nullptr);
    ASSERT_TRUE(NWData::shared()->exchangeRates().isEmpty());
    ExchangerateVC viewer;
    EXPECT_EQ(viewer.findChild<QListView*>(u"tableView"_s)->model()->rowCount(), 0);
    EXPECT_TRUE(viewer.findChild<QLabel*>(u"hostCurrencyLbl"_s)->text().isEmpty());
}

TEST_F(RatesViewer, DecimalsComeFromTheSettingAndRatesFromTheStoreAsRowsAreMade)
{
    useBase(u"USD"_s);
    platform::UserDefaults::standard().setValue(Preferences::maxExchangeRateDecimalsKey, 2);
    setRate(u"GBP"_s, 1.23456);
    setRate(u"EUR"_s, 2);
    ExchangerateVC viewer;
    EXPECT_EQ(viewer.maxDecimalPlaces(), 2);
    // A rate that changes before its row is made shows as it is then.
    setRate(u"ZAR"_s, 0.0612);
    viewer.resize(viewer.sizeHint());
    viewer.show();
    namesOfRows(viewer, { 0, 29 });
    ASSERT_NE(cellOf(viewer, u"Pound sterling"_s), nullptr);
    EXPECT_EQ(cellOf(viewer, u"Pound sterling"_s)->exchangeRate()->text(), u"$1.23"_s);
    EXPECT_EQ(cellOf(viewer, u"Euro"_s)->exchangeRate()->text(), u"$2"_s);
    ASSERT_NE(cellOf(viewer, u"South African rand"_s), nullptr);
    EXPECT_EQ(cellOf(viewer, u"South African rand"_s)->exchangeRate()->text(), u"$0.06"_s);

    platform::UserDefaults::standard().remove(Preferences::maxExchangeRateDecimalsKey);
    EXPECT_EQ(ExchangerateVC().maxDecimalPlaces(), 5);
    // Only the settings' choices, 1 to 10, whatever the stored number.
    platform::UserDefaults::standard().setValue(Preferences::maxExchangeRateDecimalsKey, 0);
    EXPECT_EQ(ExchangerateVC().maxDecimalPlaces(), 1);
    platform::UserDefaults::standard().setValue(Preferences::maxExchangeRateDecimalsKey, 99);
    EXPECT_EQ(ExchangerateVC().maxDecimalPlaces(), 10);
}

// The settings file is input from disk: decimal counts no settings choice gives are read as
// the nearest choice, and the viewer shows its rates with them.
TEST_F(RatesViewer, DecimalsFarOutOfRangeInTheSettingsFileAreReadAsTheNearestChoice)
{
    useBase(u"USD"_s);
    setRate(u"GBP"_s, 1.23456789012345);
    for (const auto& [stored, expected, text] :
        { std::tuple { qint64(std::numeric_limits<int>::max()), 10, u"$1.2345678901"_s },
            std::tuple { qint64(std::numeric_limits<int>::min()), 1, u"$1.2"_s } }) {
        SCOPED_TRACE(stored);
        platform::UserDefaults::resetStandard();
        QCborMap settings;
        settings.insert(Preferences::maxExchangeRateDecimalsKey, stored);
        const QString path = platform::UserDefaults::standardFilePath();
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(settings.toCborValue().toCbor());
        file.close();

        ExchangerateVC viewer;
        EXPECT_EQ(viewer.maxDecimalPlaces(), expected);
        viewer.resize(viewer.sizeHint());
        viewer.show();
        namesOfRows(viewer, { 0, 29 });
        ASSERT_NE(cellOf(viewer, u"Pound sterling"_s), nullptr);
        EXPECT_EQ(cellOf(viewer, u"Pound sterling"_s)->exchangeRate()->text(), text);
    }
}

} // namespace
