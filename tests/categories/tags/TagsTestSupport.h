#pragma once

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "support/TempHomeTest.h"

#include <QFile>

namespace mervane::test {

/// A household with three tags written to a data file and loaded into the shared store, as
/// at start: "Home" (GREEN) on the asset House and the liability Mortgage, "Cars" (RED) on
/// the asset Car twice, "Savings" (BLUE) on nothing; the asset Cash carries no tag.
class TagsTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        store().writer().setDeviceFactoryForTesting({});
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
        QFile file(NWData::dataFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*ModelJSONWriter::toJSON(*model));
        file.close();
        ASSERT_FALSE(store().getApplicationData().has_value());
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
        store().waitForPendingWrites();
        store().writer().setDeviceFactoryForTesting({});
        store().setAppData(nullptr);
        store().setSelectedTagIDs({});
        TempHomeTest::TearDown();
    }

    static NWData& store() { return *NWData::shared(); }
    static std::shared_ptr<MVX_Tags> tagNamed(const QString& name)
    {
        for (const auto& tag : *store().appData()->tags()) {
            if (tag->name() == name)
                return tag;
        }
        return nullptr;
    }
    static QByteArray dataFile()
    {
        QFile file(NWData::dataFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    /// The model the data file holds now.
    static std::shared_ptr<MVX_Model> modelInFile()
    {
        auto read = ImportModel::read(dataFile());
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
