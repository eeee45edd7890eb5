#include "model/data/MVX_Tags.h"

#include "model/data/MVX_ModelTypes.h"

using namespace Qt::Literals::StringLiterals;

MVX_Tags::MVX_Tags()
{
    MVX_registerModelTypes();
}

QVariantMap MVX_Tags::JSONKeyPathsByPropertyKey()
{
    return { { u"ID"_s, u"ID"_s }, { u"name"_s, u"name"_s }, { u"desc"_s, u"desc"_s },
        { u"hexColorString"_s, u"hexColorString"_s } };
}

bool MVX_Tags::operator==(const MVX_Tags& other) const
{
    return m_ID == other.m_ID && m_name == other.m_name && m_desc == other.m_desc
        && m_hexColorString == other.m_hexColorString;
}
