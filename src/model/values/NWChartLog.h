#pragma once

class MVX_NWLog;
class MVX_CategoryLog;

/// One point of a monthly chart series.
class NWChartLog {
public:
    NWChartLog() = default;
    /// The record's year, month and totals; `nw` is assets minus liabilities, not the
    /// record's own net worth. Missing numbers read as 0.
    static NWChartLog initWithNWLog(const MVX_NWLog& log);
    /// The log's year and month with its value as `nw`; assets and liabilities stay 0.
    static NWChartLog initWithAssetLog(const MVX_CategoryLog& log);
    /// The same point as `initWithAssetLog`.
    static NWChartLog initWithLiabilityLog(const MVX_CategoryLog& log);

    int year() const { return m_year; }
    void setYear(int year) { m_year = year; }
    /// 1 to 12.
    int month() const { return m_month; }
    void setMonth(int month) { m_month = month; }
    double assets() const { return m_assets; }
    void setAssets(double assets) { m_assets = assets; }
    double liabilities() const { return m_liabilities; }
    void setLiabilities(double liabilities) { m_liabilities = liabilities; }
    /// The net worth, or the single value of a one-category series.
    double nw() const { return m_nw; }
    void setNw(double nw) { m_nw = nw; }

    bool operator==(const NWChartLog&) const = default;

private:
    int m_year = 0;
    int m_month = 0;
    double m_assets = 0;
    double m_liabilities = 0;
    double m_nw = 0;
};
