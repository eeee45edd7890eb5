#include "model/store/NWData.h"

#include "model/edits/ModelEdits.h"
#include "platform/UserDefaults.h"

// Creating needs a model; without one nothing is created and removing does nothing.

QString NWData::GetUUID()
{
    return edits::GetUUID();
}

std::shared_ptr<MVX_NWLog> NWData::insertNewNWLog()
{
    return m_appData ? edits::insertNewNWLog(*m_appData) : nullptr;
}

bool NWData::deleteNWLog(const std::shared_ptr<MVX_NWLog>& record)
{
    if (!m_appData || !record || !edits::removeNWLog(*m_appData, record.get()))
        return false;
    m_chartNwLogArray.removeIf([&record](const auto& held) { return held == record; });
    return true;
}

void NWData::reinsertNWLog(const std::shared_ptr<MVX_NWLog>& record)
{
    if (!m_appData || !record || holdsNWLog(record.get()))
        return;
    MVX_NWLogList records = m_appData->nwLogArray().value_or(MVX_NWLogList());
    records.append(record);
    sortNWArray(records);
}

bool NWData::holdsNWLog(const MVX_NWLog* record) const
{
    return m_appData && edits::holdsNWLog(*m_appData, record);
}

std::shared_ptr<MVX_Tags> NWData::insertNewTag(
    const QString& name, const QString& desc, const QString& colorName)
{
    return m_appData ? edits::insertNewTag(*m_appData, name, desc, colorName) : nullptr;
}

std::shared_ptr<MVX_Category> NWData::insertNewAssetCategory(const QString& name, const QString& desc)
{
    return m_appData ? edits::insertNewAssetCategory(*m_appData, name, desc) : nullptr;
}

std::shared_ptr<MVX_Category> NWData::insertNewLiabilityCategory(const QString& name, const QString& desc)
{
    return m_appData ? edits::insertNewLiabilityCategory(*m_appData, name, desc) : nullptr;
}

void NWData::deleteTagRecord(const MVX_Tags& tag)
{
    if (m_appData)
        edits::deleteTagRecord(*m_appData, tag);
}

void NWData::deleteTagEverywhere(const MVX_Tags& tag)
{
    // Copied first: `tag` may be the model's own object, gone after the removal.
    const QString tagID = tag.ID();
    deleteTagRecord(tag);
    m_selectedTagIDs.removeAll(tagID);
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    bool changed = false;
    for (const QString& key : { filterIDArrayKey, reportTagIDsKey }) {
        if (!defaults.contains(key))
            continue;
        QStringList ids = defaults.stringList(key);
        if (ids.removeAll(tagID) > 0) {
            defaults.setValue(key, ids);
            changed = true;
        }
    }
    if (changed)
        defaults.synchronize();
}

void NWData::setTagInFilter(const QString& tagID, bool chosen)
{
    if (!chosen)
        m_selectedTagIDs.removeAll(tagID);
    else if (!m_selectedTagIDs.contains(tagID))
        m_selectedTagIDs.append(tagID);
    platform::UserDefaults::standard().setValueAndSynchronize(filterIDArrayKey, m_selectedTagIDs);
}

void NWData::deleteAssetCategory(const MVX_Category& category)
{
    if (m_appData)
        edits::deleteAssetCategory(*m_appData, category);
}

void NWData::deleteLiabilityCategory(const MVX_Category& category)
{
    if (m_appData)
        edits::deleteLiabilityCategory(*m_appData, category);
}

bool NWData::haveTagWithName(const QString& name) const
{
    return edits::haveTagWithName(modelOrEmpty(), name);
}

bool NWData::haveAssetCategoryWithName(const QString& name) const
{
    return edits::haveAssetCategoryWithName(modelOrEmpty(), name);
}

bool NWData::haveLiabilityCategoryWithName(const QString& name) const
{
    return edits::haveLiabilityCategoryWithName(modelOrEmpty(), name);
}
