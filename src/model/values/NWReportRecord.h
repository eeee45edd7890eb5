#pragma once

#include <QDateTime>

/// One row of a table report.
class NWReportRecord {
public:
    /// The first day of the row's month.
    const QDateTime& recordDate() const { return m_recordDate; }
    void setRecordDate(const QDateTime& date) { m_recordDate = date; }
    double amount() const { return m_amount; }
    void setAmount(double amount) { m_amount = amount; }
    /// The change against the older month.
    double changeAmount() const { return m_changeAmount; }
    void setChangeAmount(double change) { m_changeAmount = change; }
    /// The change divided by the older amount: a ratio, 0.25 is a quarter.
    double changePercent() const { return m_changePercent; }
    void setChangePercent(double ratio) { m_changePercent = ratio; }

    bool operator==(const NWReportRecord&) const = default;

private:
    QDateTime m_recordDate;
    double m_amount = 0;
    double m_changeAmount = 0;
    double m_changePercent = 0;
};
