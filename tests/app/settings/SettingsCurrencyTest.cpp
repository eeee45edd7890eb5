#include "SettingsTestSupport.h"

#include "app/AppNotifications.h"
#include "app/settings/CurrencyPickerRecords.h"
#include "model/ModelNotifications.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class SettingsCurrencyTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        PKPopoverController::setApplicationActiveOverride(true);
        installAndSave(MVX_Model::makeEmpty());
        store().setExchangeRates();
    }
    void TearDown() override
    {
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
        SettingsTest::TearDown();
    }
    static QString baseCurrency() { return store().appData()->baseCurrency(); }
    static void pick(const QVariantList& chosen)
    {
        platform::NotificationCenter::defaultCenter().post(notifications::genericSelectSelected, chosen);
    }
    static QVariantList chosenCurrency(const QString& code)
    {
        for (const auto& record : currencyPickerRecords(store().supportedCurrencies())) {
            if (record.ID() == code)
                return { QVariant::fromValue(record) };
        }
        return {};
    }
    static void press(QWidget& settings, const QString& name)
    {
        QTest::mouseClick(child<QAbstractButton>(settings, name), Qt::LeftButton);
    }
};

TEST_F(SettingsCurrencyTest, PickerEntriesAreEveryCurrencyByFullName)
{
    const auto records = currencyPickerRecords(store().supportedCurrencies());
    ASSERT_EQ(records.size(), store().supportedCurrencies().size());
    for (qsizetype i = 1; i < records.size(); ++i)
        EXPECT_LT(records[i - 1].name(), records[i].name());
    for (const auto& record : records) {
        const auto currency = record.obj().value<std::shared_ptr<MVX_Currency>>();
        ASSERT_TRUE(currency);
        EXPECT_EQ(record.ID(), currency->ShortName());
        EXPECT_EQ(record.name(), currency->FullName());
        EXPECT_EQ(record.subtitle(), currency->Symbol());
        EXPECT_NE(record.emoji().isEmpty(), record.image().isNull()) << record.ID().toStdString();
    }
}

TEST_F(SettingsCurrencyTest, PickingACurrencyRebuildsTheRatesSavesAndTheLocalSegmentGoesBack)
{
    const auto settings = openSettings();
    EXPECT_EQ(child<SegmentedControl>(*settings, u"currencySegment"_s)->selectedSegment(), 0);
    EXPECT_EQ(child<QLabel>(*settings, u"baseCurrencyCtl"_s)->text(), u"(US Dollar)"_s);
    EXPECT_FALSE(child<QPushButton>(*settings, u"currencyChangeBtn"_s)->isEnabled());

    press(*child<SegmentedControl>(*settings, u"currencySegment"_s), u"segment1"_s);
    EXPECT_TRUE(child<QPushButton>(*settings, u"currencyChangeBtn"_s)->isEnabled());
    EXPECT_TRUE(baseCurrency().isNull());
    press(*settings, u"currencyChangeBtn"_s);
    ASSERT_TRUE(settings->selectionPopover());
    EXPECT_TRUE(settings->selectionPopover()->shown());
    ASSERT_EQ(world.pickersMade.size(), 1);
    EXPECT_EQ(world.pickersMade.first().size(), store().supportedCurrencies().size());

    pick(chosenCurrency(u"EUR"_s));
    EXPECT_EQ(baseCurrency(), u"EUR"_s);
    EXPECT_EQ(store().localCurrency()->ShortName(), u"EUR"_s);
    EXPECT_FALSE(store().exchangeRates().contains(u"EUR"_s));
    EXPECT_TRUE(store().exchangeRates().contains(u"USD"_s));
    EXPECT_EQ(child<QLabel>(*settings, u"baseCurrencyCtl"_s)->text(), u"Euro"_s);
    EXPECT_FALSE(settings->selectionPopover());
    EXPECT_TRUE(settings->isSaving());
    EXPECT_EVENTUALLY(!settings->isSaving());
    EXPECT_EQ(posted.count(notifications::exchangeRateFetchAgain), 1);
    EXPECT_EQ(posted.count(notifications::dataReFetched), 1);
    EXPECT_TRUE(dataFileBytes().contains("\"EUR\""));

    // Back to the locale's currency: cleared, its rates rebuilt, saved again.
    press(*child<SegmentedControl>(*settings, u"currencySegment"_s), u"segment0"_s);
    EXPECT_TRUE(baseCurrency().isEmpty());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_TRUE(store().exchangeRates().contains(u"EUR"_s));
    EXPECT_FALSE(store().exchangeRates().contains(u"USD"_s));
    EXPECT_EQ(child<QLabel>(*settings, u"baseCurrencyCtl"_s)->text(), u"(US Dollar)"_s);
    EXPECT_EVENTUALLY_EQ(posted.count(notifications::dataReFetched), 2);
    EXPECT_EQ(posted.count(notifications::exchangeRateFetchAgain), 2);
    EXPECT_FALSE(dataFileBytes().contains("\"EUR\""));
}

TEST_F(SettingsCurrencyTest, AFailedBaseCurrencySaveShowsItsTextAndTheFilesCurrencyComesBack)
{
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    const auto settings = openSettings();
    press(*child<SegmentedControl>(*settings, u"currencySegment"_s), u"segment1"_s);
    press(*settings, u"currencyChangeBtn"_s);
    pick(chosenCurrency(u"GBP"_s));
    EXPECT_EVENTUALLY(!settings->isSaving());
    auto* error = child<QLabel>(*settings, u"currencyErrorCtl"_s);
    EXPECT_TRUE(error->isVisible());
    EXPECT_TRUE(error->text().contains(u"the disk is full"_s)) << error->text().toStdString();
    // The store took the model back to the file's, without a base currency, and said so once.
    EXPECT_EQ(posted.count(notifications::dataReFetched), 1);
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_TRUE(baseCurrency().isEmpty());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_FALSE(store().exchangeRates().contains(u"USD"_s));
    EXPECT_EQ(child<QLabel>(*settings, u"baseCurrencyCtl"_s)->text(), u"(US Dollar)"_s);
    EXPECT_FALSE(child<QPushButton>(*settings, u"currencyChangeBtn"_s)->isEnabled());
}

TEST_F(SettingsCurrencyTest, ThePickerTogglesClosesOnItsNotificationsAndIgnoresEmptyChoices)
{
    const auto settings = openSettings();
    press(*child<SegmentedControl>(*settings, u"currencySegment"_s), u"segment1"_s);
    press(*settings, u"currencyChangeBtn"_s);
    ASSERT_TRUE(settings->selectionPopover());
    press(*settings, u"currencyChangeBtn"_s);
    EXPECT_FALSE(settings->selectionPopover());

    press(*settings, u"currencyChangeBtn"_s);
    platform::NotificationCenter::defaultCenter().post(notifications::genericSelectClosed);
    EXPECT_FALSE(settings->selectionPopover());

    // A picker closed by Escape: the next press opens a fresh one.
    press(*settings, u"currencyChangeBtn"_s);
    const QPointer<PKPopoverController> escaped = settings->selectionPopover();
    escaped->forceClosePopover();
    EXPECT_EVENTUALLY(!escaped->shown());
    press(*settings, u"currencyChangeBtn"_s);
    ASSERT_TRUE(settings->selectionPopover());
    EXPECT_TRUE(settings->selectionPopover()->shown());
    EXPECT_EQ(world.pickersMade.size(), 4);

    pick({});
    EXPECT_FALSE(settings->selectionPopover());
    press(*settings, u"currencyChangeBtn"_s);
    pick({ QVariant::fromValue(GenericSelectionRecord()) });
    EXPECT_FALSE(settings->selectionPopover());
    EXPECT_TRUE(baseCurrency().isNull());
    EXPECT_FALSE(settings->isSaving());
    EXPECT_EQ(posted.count(notifications::exchangeRateFetchAgain), 0);
}

TEST_F(SettingsCurrencyTest, NothingRunsForAControllerThatIsGone)
{
    auto settings = openSettings();
    press(*child<SegmentedControl>(*settings, u"currencySegment"_s), u"segment1"_s);
    press(*settings, u"currencyChangeBtn"_s);
    pick(chosenCurrency(u"EUR"_s));
    settings.reset();
    store().waitForPendingWrites();
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.count(notifications::dataReFetched), 0);
    // Choices made elsewhere after it is gone reach nobody.
    pick(chosenCurrency(u"GBP"_s));
    EXPECT_EQ(baseCurrency(), u"EUR"_s);
}

} // namespace
