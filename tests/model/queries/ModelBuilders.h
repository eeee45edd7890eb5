#pragma once

#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "support/TempHomeTest.h"

#include <initializer_list>
#include <memory>
#include <optional>

namespace mervane::test {

inline std::shared_ptr<MVX_CategoryLog> makeLog(
    const QString& categoryID, int year, int month, std::optional<double> value)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(categoryID);
    log->setYear(year);
    log->setMonth(month);
    log->setValue(value);
    return log;
}

inline std::shared_ptr<MVX_NWLog> makeRecord(int year, int month,
    std::initializer_list<std::shared_ptr<MVX_CategoryLog>> assetLogs = {},
    std::initializer_list<std::shared_ptr<MVX_CategoryLog>> liabilityLogs = {})
{
    auto record = std::make_shared<MVX_NWLog>();
    record->setYear(year);
    record->setMonth(month);
    record->setAssetLogs(MVX_CategoryLogList(assetLogs));
    record->setLiabilityLogs(MVX_CategoryLogList(liabilityLogs));
    return record;
}

inline std::shared_ptr<MVX_Category> makeCategory(
    const QString& id, const QString& name, std::optional<QStringList> tags = QStringList())
{
    auto category = std::make_shared<MVX_Category>();
    category->setID(id);
    category->setCategoryName(name);
    category->setTags(std::move(tags));
    return category;
}

inline std::shared_ptr<MVX_Tags> makeTag(const QString& id, const QString& name)
{
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(id);
    tag->setName(name);
    tag->setHexColorString(QStringLiteral("BLUE"));
    return tag;
}

/// A store in a temporary home holding an empty model.
class ModelTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_store = std::make_unique<NWData>();
        m_store->setAppData(MVX_Model::makeEmpty());
    }
    void TearDown() override
    {
        m_store.reset();
        TempHomeTest::TearDown();
    }

    NWData& store() { return *m_store; }
    MVX_Model& model() { return *m_store->appData(); }

private:
    std::unique_ptr<NWData> m_store;
};

} // namespace mervane::test
