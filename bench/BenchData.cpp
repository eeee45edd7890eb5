#include "BenchData.h"

#include "model/store/NWData.h"

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace benchdata {

std::shared_ptr<MVX_Model> generateModel(int years, int categories)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(u"USD"_s);
    model->setRidIrevuGoal(1'000'000.0);
    const int assets = categories * 3 / 4;
    for (int c = 0; c < categories; ++c) {
        auto category = std::make_shared<MVX_Category>();
        category->setID(u"6F9619FF-8B86-D011-B42D-%1"_s.arg(c, 12, 10, QChar(u'0')));
        category->setCategoryName(u"Category %1"_s.arg(c));
        category->setDesc(u"Description of category %1"_s.arg(c));
        category->setTags(QStringList());
        category->setSortOrder(c);
        (c < assets ? model->assetscat() : model->liabilitycat())->append(category);
    }
    for (int y = 0; y < years; ++y) {
        for (int m = 1; m <= 12; ++m) {
            auto record = std::make_shared<MVX_NWLog>();
            record->setYear(1980 + y);
            record->setMonth(m);
            record->setNote(u"Month %1"_s.arg(m));
            MVX_CategoryLogList assetLogs, liabilityLogs;
            double assetsTotal = 0, liabilitiesTotal = 0;
            for (int c = 0; c < categories; ++c) {
                auto value = std::make_shared<MVX_CategoryLog>();
                value->setCategoryID(u"6F9619FF-8B86-D011-B42D-%1"_s.arg(c, 12, 10, QChar(u'0')));
                value->setYear(1980 + y);
                value->setMonth(m);
                const double amount = 1000.0 + ((y * 12 + m) * 7919 + c * 104729) % 100000 / 100.0;
                value->setValue(amount);
                (c < assets ? assetLogs : liabilityLogs).append(value);
                (c < assets ? assetsTotal : liabilitiesTotal) += amount;
            }
            record->setAssets(assetsTotal);
            record->setLiabilities(liabilitiesTotal);
            record->setNw(assetsTotal - liabilitiesTotal);
            record->setAssetLogs(assetLogs);
            record->setLiabilityLogs(liabilityLogs);
            model->nwLogArray()->append(record);
        }
    }
    return model;
}

void installLargeHousehold()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    const auto model = generateModel(50, 200);
    NWData* store = NWData::shared();
    store->setAppData(model);
    store->setExchangeRates();
    store->sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
    store->setExchangeRateIsUpToDate(true);
}

} // namespace benchdata
