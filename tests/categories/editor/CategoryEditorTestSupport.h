#pragma once

#include "model/queries/ModelBuilders.h"
#include "support/SharedStoreTest.h"

namespace mervane::test {

/// The household of the category editor's tests, installed in the shared store and saved:
/// assets Cash (tagged Home), Car (depreciating 10 %), the hidden Old and Wallet (in the
/// unknown currency "XBT"), in that order; the liability Loan; the tags Home and Travel;
/// one record, May 2024, with a value of every category.
class CategoryEditorTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(QStringLiteral("USD"));
        home = makeTag(QStringLiteral("T-HOME"), QStringLiteral("Home"));
        travel = makeTag(QStringLiteral("T-TRAVEL"), QStringLiteral("Travel"));
        travel->setHexColorString(QStringLiteral("RED"));
        model->setTags(MVX_TagsList { home, travel });
        cash = makeCategory(QStringLiteral("A-CASH"), QStringLiteral("Cash"), QStringList { home->ID() });
        car = makeCategory(QStringLiteral("A-CAR"), QStringLiteral("Car"));
        car->setIsDepreciable(true);
        car->setDepreciationRate(0.1);
        car->setSortOrder(1);
        old = makeCategory(QStringLiteral("A-OLD"), QStringLiteral("Old"));
        old->setIsHidden(true);
        old->setSortOrder(2);
        wallet = makeCategory(QStringLiteral("A-WALLET"), QStringLiteral("Wallet"));
        wallet->setIsForeignCurrency(true);
        wallet->setCurrency(QStringLiteral("XBT"));
        wallet->setSortOrder(3);
        loan = makeCategory(QStringLiteral("L-LOAN"), QStringLiteral("Loan"));
        model->setAssetscat(MVX_CategoryList { cash, car, old, wallet });
        model->setLiabilitycat(MVX_CategoryList { loan });
        may = makeRecord(2024, 5,
            { makeLog(cash->ID(), 2024, 5, 1000), makeLog(car->ID(), 2024, 5, 20000),
                makeLog(old->ID(), 2024, 5, 1), makeLog(wallet->ID(), 2024, 5, 50) },
            { makeLog(loan->ID(), 2024, 5, 5000) });
        may->setAssets(21051);
        may->setLiabilities(5000);
        may->setNw(16051);
        model->setNwLogArray(MVX_NWLogList { may });
        store().setSupportsForeignCurrencies(true);
        installAndSave(model);
    }

    static MVX_CategoryList& assets() { return *store().appData()->assetscat(); }

    std::shared_ptr<MVX_Tags> home, travel;
    std::shared_ptr<MVX_Category> cash, car, old, wallet, loan;
    std::shared_ptr<MVX_NWLog> may;
};

} // namespace mervane::test
