#include "model/data/MVX_Model.h"

#include "model/data/MVX_ModelTypes.h"
#include "model/mapping/MAPJSONAdapter.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

template <typename T>
bool sameObjects(
    const std::optional<QList<std::shared_ptr<T>>>& a, const std::optional<QList<std::shared_ptr<T>>>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    return std::equal(a->cbegin(), a->cend(), b->cbegin(), b->cend(),
        [](const std::shared_ptr<T>& x, const std::shared_ptr<T>& y) {
            if (!x || !y)
                return x == y;
            return x == y || *x == *y;
        });
}

} // namespace

MVX_Model::MVX_Model()
{
    MVX_registerModelTypes();
}

QVariantMap MVX_Model::JSONKeyPathsByPropertyKey()
{
    return { { u"version"_s, u"version"_s }, { u"assetscat"_s, u"a_cat"_s },
        { u"liabilitycat"_s, u"l_cat"_s }, { u"nwLogArray"_s, u"nw_logs"_s }, { u"tags"_s, u"tags"_s },
        { u"baseCurrency"_s, u"base_currency"_s }, { u"ridIrevuGoal"_s, u"net_worth_goal"_s } };
}

MAPValueTransformerPtr MVX_Model::assetscatJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_Category>();
}

MAPValueTransformerPtr MVX_Model::liabilitycatJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_Category>();
}

MAPValueTransformerPtr MVX_Model::nwLogArrayJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_NWLog>();
}

MAPValueTransformerPtr MVX_Model::tagsJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_Tags>();
}

MVX_NWLog::MVX_NWLog()
{
    MVX_registerModelTypes();
}

QVariantMap MVX_NWLog::JSONKeyPathsByPropertyKey()
{
    return { { u"year"_s, u"year"_s }, { u"month"_s, u"month"_s }, { u"TS"_s, u"TS"_s },
        { u"note"_s, u"note"_s }, { u"assets"_s, u"assets"_s }, { u"liabilities"_s, u"liabilities"_s },
        { u"nw"_s, u"nw"_s }, { u"assetLogs"_s, u"a_logs"_s }, { u"liabilityLogs"_s, u"l_logs"_s },
        { u"gold"_s, u"gold"_s }, { u"bitcoin"_s, u"bitcoin"_s } };
}

MAPValueTransformerPtr MVX_NWLog::assetLogsJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_CategoryLog>();
}

MAPValueTransformerPtr MVX_NWLog::liabilityLogsJSONTransformer()
{
    return map_JSONArrayTransformerWithModelClass<MVX_CategoryLog>();
}

QString MVX_Model::applicationShortVersion()
{
    return QStringLiteral(MERVANE_VERSION);
}

std::shared_ptr<MVX_Model> MVX_Model::makeEmpty()
{
    auto model = std::make_shared<MVX_Model>();
    model->setVersion(applicationShortVersion());
    model->setAssetscat(MVX_CategoryList());
    model->setLiabilitycat(MVX_CategoryList());
    model->setNwLogArray(MVX_NWLogList());
    model->setTags(MVX_TagsList());
    return model;
}

std::shared_ptr<MVX_NWLog> MVX_Model::currentLog() const
{
    if (!m_nwLogArray || m_nwLogArray->isEmpty())
        return nullptr;
    return m_nwLogArray->first();
}

bool MVX_Model::operator==(const MVX_Model& other) const
{
    return m_version == other.m_version && sameObjects(m_assetscat, other.m_assetscat)
        && sameObjects(m_liabilitycat, other.m_liabilitycat) && sameObjects(m_nwLogArray, other.m_nwLogArray)
        && sameObjects(m_tags, other.m_tags) && m_baseCurrency == other.m_baseCurrency
        && m_ridIrevuGoal == other.m_ridIrevuGoal;
}

bool MVX_NWLog::operator==(const MVX_NWLog& other) const
{
    return m_year == other.m_year && m_month == other.m_month && m_TS == other.m_TS && m_note == other.m_note
        && m_assets == other.m_assets && m_liabilities == other.m_liabilities && m_nw == other.m_nw
        && sameObjects(m_assetLogs, other.m_assetLogs) && sameObjects(m_liabilityLogs, other.m_liabilityLogs)
        && m_gold == other.m_gold && m_bitcoin == other.m_bitcoin;
}
