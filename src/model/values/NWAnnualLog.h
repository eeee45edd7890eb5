#pragma once

#include <QDateTime>
#include <QString>

/// One bar of the annual chart.
class NWAnnualLog {
public:
    /// A projected bar of the trend line.
    bool isTrendPoint() const { return m_isTrendPoint; }
    void setIsTrendPoint(bool trend) { m_isTrendPoint = trend; }
    double assets() const { return m_assets; }
    void setAssets(double assets) { m_assets = assets; }
    double liabilities() const { return m_liabilities; }
    void setLiabilities(double liabilities) { m_liabilities = liabilities; }
    int year() const { return m_year; }
    void setYear(int year) { m_year = year; }
    const QDateTime& date() const { return m_date; }
    void setDate(const QDateTime& date) { m_date = date; }
    const QString& note() const { return m_note; }
    void setNote(const QString& note) { m_note = note; }

    bool operator==(const NWAnnualLog&) const = default;

private:
    bool m_isTrendPoint = false;
    double m_assets = 0;
    double m_liabilities = 0;
    int m_year = 0;
    QDateTime m_date;
    QString m_note;
};
