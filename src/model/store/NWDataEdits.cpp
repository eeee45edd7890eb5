#include "model/store/NWData.h"

#include "model/edits/ModelEdits.h"

// Creating needs a model; without one nothing is created and removing does nothing.

QString NWData::GetUUID()
{
    return edits::GetUUID();
}

std::shared_ptr<MVX_NWLog> NWData::insertNewNWLog()
{
    return m_appData ? edits::insertNewNWLog(*m_appData) : nullptr;
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
