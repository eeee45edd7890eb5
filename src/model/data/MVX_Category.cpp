#include "model/data/MVX_Category.h"

#include "model/data/MVX_ModelTypes.h"

using namespace Qt::Literals::StringLiterals;

MVX_Category::MVX_Category()
{
    MVX_registerModelTypes();
}

QVariantMap MVX_Category::JSONKeyPathsByPropertyKey()
{
    return { { u"ID"_s, u"ID"_s }, { u"categoryName"_s, u"name"_s }, { u"desc"_s, u"desc"_s },
        { u"isForeignCurrency"_s, u"is_foreign"_s }, { u"currency"_s, u"currency"_s },
        { u"tags"_s, u"tags"_s }, { u"isDepreciable"_s, u"is_depreciable"_s },
        { u"depreciationRate"_s, u"depr_rate"_s }, { u"sortOrder"_s, u"sort_order"_s },
        { u"isHidden"_s, u"is_hidden"_s } };
}

bool MVX_Category::operator==(const MVX_Category& other) const
{
    return m_ID == other.m_ID && m_categoryName == other.m_categoryName && m_desc == other.m_desc
        && m_isForeignCurrency == other.m_isForeignCurrency && m_currency == other.m_currency
        && m_tags == other.m_tags && m_isDepreciable == other.m_isDepreciable
        && m_depreciationRate == other.m_depreciationRate && m_sortOrder == other.m_sortOrder
        && m_isHidden == other.m_isHidden;
}
