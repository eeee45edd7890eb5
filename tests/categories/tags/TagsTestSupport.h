#pragma once

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "support/SharedStoreTest.h"

namespace mervane::test {

/// A household with three tags written to a data file and loaded into the shared store, as
/// at start: "Home" (GREEN) on the asset House and the liability Mortgage, "Cars" (RED) on
/// the asset Car twice, "Savings" (BLUE) on nothing; the asset Cash carries no tag.
class TagsTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(QStringLiteral("USD"));
        home = makeTag(QStringLiteral("T-HOME"), QStringLiteral("Home"));
        home->setHexColorString(QStringLiteral("GREEN"));
        home->setDesc(QStringLiteral("Where we live"));
        cars = makeTag(QStringLiteral("T-CARS"), QStringLiteral("Cars"));
        cars->setHexColorString(QStringLiteral("RED"));
        savings = makeTag(QStringLiteral("T-SAVE"), QStringLiteral("Savings"));
        model->setTags(MVX_TagsList { home, cars, savings });
        model->setAssetscat(MVX_CategoryList { makeCategory(QStringLiteral("A-CASH"), QStringLiteral("Cash")),
            makeCategory(QStringLiteral("A-HOUSE"), QStringLiteral("House"), QStringList { home->ID() }),
            makeCategory(
                QStringLiteral("A-CAR"), QStringLiteral("Car"), QStringList { cars->ID(), cars->ID() }) });
        model->setLiabilitycat(MVX_CategoryList {
            makeCategory(QStringLiteral("L-MORT"), QStringLiteral("Mortgage"), QStringList { home->ID() }) });
        loadAsAtStart(*model);
        // The loaded objects, not the ones written.
        home = tagNamed(QStringLiteral("Home"));
        cars = tagNamed(QStringLiteral("Cars"));
        savings = tagNamed(QStringLiteral("Savings"));
        ASSERT_TRUE(home && cars && savings);
        platform::NotificationCenter::defaultCenter().addObserver(&m_observer, notifications::dataReFetched,
            [this](auto&&...) { posted.append(notifications::dataReFetched); });
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(&m_observer);
        store().setSelectedTagIDs({});
        SharedStoreTest::TearDown();
    }

    static std::shared_ptr<MVX_Tags> tagNamed(const QString& name)
    {
        for (const auto& tag : *store().appData()->tags()) {
            if (tag->name() == name)
                return tag;
        }
        return nullptr;
    }
    /// The model the data file holds now.
    static std::shared_ptr<MVX_Model> modelInFile()
    {
        auto read = ImportModel::read(dataFileBytes());
        return read ? read->model : nullptr;
    }

    std::shared_ptr<MVX_Tags> home;
    std::shared_ptr<MVX_Tags> cars;
    std::shared_ptr<MVX_Tags> savings;
    /// The notifications seen, in order (observed by the test).
    QStringList posted;
    QObject m_observer;
};

} // namespace mervane::test
