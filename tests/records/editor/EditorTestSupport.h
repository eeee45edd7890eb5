#pragma once

#include "model/queries/ModelBuilders.h"
#include "platform/Clock.h"
#include "support/SharedStoreTest.h"

namespace mervane::test {

/// The household of the editor's tests, installed in the shared store with today fixed at
/// 15 June 2024: Cash 1,000; Car 20,000 depreciable at 10 %; the hidden Old 0.005; Loan
/// 5,000; one record, May 2024. Amounts are in US dollars.
class EditorTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        m_clock = std::make_unique<platform::ScopedClock>(QDateTime(QDate(2024, 6, 15), QTime(12, 0)));
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(QStringLiteral("USD"));
        cash = makeCategory(QStringLiteral("A-CASH"), QStringLiteral("Cash"));
        car = makeCategory(QStringLiteral("A-CAR"), QStringLiteral("Car"));
        car->setIsDepreciable(true);
        car->setDepreciationRate(0.1);
        old = makeCategory(QStringLiteral("A-OLD"), QStringLiteral("Old"));
        old->setIsHidden(true);
        loan = makeCategory(QStringLiteral("L-LOAN"), QStringLiteral("Loan"));
        model->setAssetscat(MVX_CategoryList { cash, car, old });
        model->setLiabilitycat(MVX_CategoryList { loan });
        may = makeRecord(2024, 5,
            { makeLog(cash->ID(), 2024, 5, 1000), makeLog(car->ID(), 2024, 5, 20000),
                makeLog(old->ID(), 2024, 5, 0.005) },
            { makeLog(loan->ID(), 2024, 5, 5000) });
        may->setAssets(21000.005);
        may->setLiabilities(5000);
        may->setNw(16000.005);
        may->setNote(QStringLiteral("May"));
        model->setNwLogArray(MVX_NWLogList { may });
        store().setSupportsForeignCurrencies(true);
        store().setExchangeRates({});
        store().setExchangeRateIsUpToDate(true);
        installAndSave(model);
    }
    void TearDown() override
    {
        SharedStoreTest::TearDown();
        m_clock.reset();
    }
    /// A foreign asset category in `currency`, whose rate the store knows as `rate`.
    std::shared_ptr<MVX_Category> addForeignAsset(const QString& currency, std::optional<double> rate)
    {
        auto category = makeCategory(QStringLiteral("A-") + currency, currency + QStringLiteral(" account"));
        category->setIsForeignCurrency(true);
        category->setCurrency(currency);
        store().appData()->assetscat()->append(category);
        if (rate)
            store().exchangeRates().insert(currency, std::make_shared<MVX_ExchangeRate>(currency, *rate));
        return category;
    }

    std::shared_ptr<MVX_Category> cash, car, old, loan;
    std::shared_ptr<MVX_NWLog> may;

private:
    std::unique_ptr<platform::ScopedClock> m_clock;
};

} // namespace mervane::test
