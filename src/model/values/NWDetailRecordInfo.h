#pragma once

#include <QMetaType>

/// The month a chart popup asks to open; the object of "NW_SHOW_DETAILS".
class NWDetailRecordInfo {
public:
    int year() const { return m_year; }
    void setYear(int year) { m_year = year; }
    int month() const { return m_month; }
    void setMonth(int month) { m_month = month; }

    bool operator==(const NWDetailRecordInfo&) const = default;

private:
    int m_year = 0;
    int m_month = 0;
};

Q_DECLARE_METATYPE(NWDetailRecordInfo)
