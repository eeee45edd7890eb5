#include "model/values/NWChartLog.h"

#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_NWLog.h"

NWChartLog NWChartLog::initWithNWLog(const MVX_NWLog& log)
{
    NWChartLog point;
    point.m_year = log.year().value_or(0);
    point.m_month = log.month().value_or(0);
    point.m_assets = log.assets().value_or(0);
    point.m_liabilities = log.liabilities().value_or(0);
    point.m_nw = point.m_assets - point.m_liabilities;
    return point;
}

NWChartLog NWChartLog::initWithAssetLog(const MVX_CategoryLog& log)
{
    NWChartLog point;
    point.m_year = log.year().value_or(0);
    point.m_month = log.month().value_or(0);
    point.m_nw = log.value().value_or(0);
    return point;
}

NWChartLog NWChartLog::initWithLiabilityLog(const MVX_CategoryLog& log)
{
    return initWithAssetLog(log);
}
