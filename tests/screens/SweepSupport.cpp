#include "screens/SweepSupport.h"

#include "model/ModelNotifications.h"
#include "model/queries/ModelBuilders.h"
#include "platform/NotificationCenter.h"

namespace mervane::test::sweep {

std::shared_ptr<MVX_Model> edgeHousehold(int categories, int months)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(QStringLiteral("USD"));
    const QString longText(10000, QLatin1Char('M'));
    auto tag = makeTag(QStringLiteral("T-1"), longText);
    model->setTags(MVX_TagsList { tag, makeTag(QStringLiteral("T-2"), QString()) });
    MVX_CategoryList assets;
    MVX_CategoryList liabilities;
    for (int index = 0; index < categories; ++index) {
        const QString name = index == 0 ? longText : QStringLiteral("Category %1").arg(index);
        auto asset = makeCategory(QStringLiteral("A-%1").arg(index), name, QStringList { tag->ID() });
        asset->setDesc(longText);
        asset->setIsDepreciable(index % 2 == 1);
        asset->setDepreciationRate(index == 1 ? edgeNaN : 0.05);
        if (index == 2) {
            asset->setIsForeignCurrency(true);
            asset->setCurrency(QStringLiteral("EUR"));
        }
        assets.append(asset);
        liabilities.append(makeCategory(QStringLiteral("L-%1").arg(index), name, QStringList { tag->ID() }));
    }
    model->setAssetscat(assets);
    model->setLiabilitycat(liabilities);

    // Values at the edges of double, repeated through the months.
    const QList<double> values { edgeNaN, edgeInf, -edgeInf, 0.0, 1.0e300, -1.0e300, 1.0e9, -1.0e9, 0.01,
        123456.78 };
    MVX_NWLogList records;
    for (int month = 0; month < months; ++month) {
        auto record = makeRecord(2000 + month / 12, month % 12 + 1);
        MVX_CategoryLogList assetLogs;
        MVX_CategoryLogList liabilityLogs;
        for (int index = 0; index < categories; ++index) {
            const double value = values.at((month + index) % values.size());
            assetLogs.append(makeLog(assets.at(index)->ID(), 2000 + month / 12, month % 12 + 1, value));
            liabilityLogs.append(makeLog(liabilities.at(index)->ID(), 2000 + month / 12, month % 12 + 1,
                index % 3 == 0 ? std::optional<double>() : -value));
        }
        record->setAssetLogs(assetLogs);
        record->setLiabilityLogs(liabilityLogs);
        const double total = values.at(month % values.size());
        record->setAssets(total);
        record->setLiabilities(month % 4 == 0 ? std::optional<double>() : -total);
        record->setNw(month % 5 == 0 ? -total : total);
        record->setNote(month == 0 ? longText : QString());
        records.append(record);
    }
    model->setNwLogArray(records);
    return model;
}

namespace {

QPointer<QWidget> hostWindow;

} // namespace

void showInHost(QWidget& widget)
{
    Q_ASSERT(hostWindow);
    widget.setParent(hostWindow);
    widget.show();
}

void ScreenSweepTest::SetUp()
{
    SharedStoreTest::SetUp();
    hostWindow = new QWidget;
    hostWindow->resize(400, 300);
    hostWindow->show();
}

void ScreenSweepTest::TearDown()
{
    settle();
    delete hostWindow.data();
    settle();
    SharedStoreTest::TearDown();
}

void ScreenSweepTest::install(const std::shared_ptr<MVX_Model>& model)
{
    store().setAppData(model);
    store().sortNWArray(model ? model->nwLogArray().value_or(MVX_NWLogList()) : MVX_NWLogList());
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    settle();
}

void ScreenSweepTest::forEachModel(const std::function<void()>& body)
{
    const std::shared_ptr<MVX_Model> models[] { nullptr, MVX_Model::makeEmpty(), edgeHousehold(4, 30),
        edgeHousehold(30, 120) };
    for (const auto& model : models) {
        SCOPED_TRACE(model ? (model->nwLogArray() ? "household" : "empty model") : "no model");
        install(model);
        body();
    }
}

} // namespace mervane::test::sweep
