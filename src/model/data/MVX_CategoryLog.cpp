#include "model/data/MVX_CategoryLog.h"

#include "model/data/MVX_ModelTypes.h"

using namespace Qt::Literals::StringLiterals;

MVX_CategoryLog::MVX_CategoryLog()
{
    MVX_registerModelTypes();
}

QVariantMap MVX_CategoryLog::JSONKeyPathsByPropertyKey()
{
    return { { u"categoryID"_s, u"cat"_s }, { u"year"_s, u"year"_s }, { u"month"_s, u"month"_s },
        { u"value"_s, u"value"_s }, { u"exchangeRate"_s, u"exch"_s }, { u"foreignValue"_s, u"fvalue"_s } };
}

bool MVX_CategoryLog::operator==(const MVX_CategoryLog& other) const
{
    return m_categoryID == other.m_categoryID && m_year == other.m_year && m_month == other.m_month
        && m_value == other.m_value && m_exchangeRate == other.m_exchangeRate
        && m_foreignValue == other.m_foreignValue;
}
