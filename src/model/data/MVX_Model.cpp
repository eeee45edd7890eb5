#include "model/data/MVX_Model.h"

#include <algorithm>

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
