#include "reports/print/TableReportLayout.h"

#include "platform/Strings.h"
#include "reports/print/ReportText.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

using reporttext::grey;
using reporttext::truncated;

constexpr qreal kRowSpacing = 10.0;
constexpr qreal kPageTop = 9.0;
// Rows end a point above the footer's box; the rows' own leading keeps their ink clear of it.
constexpr qreal kFooterRoom = PrintLayout::footerHeight + 1.0;

class TableBuilder {
public:
    TableBuilder(const TableReportContent& content, const QSizeF& pageSize)
        : m_content(content)
        , m_layout(pageSize)
        , m_width(pageSize.width())
        , m_pageHeight(pageSize.height())
        , m_columns(tableReportColumns())
    {
        m_headerHeight = reporttext::height(m_columns.first().header, m_headerFont);
    }

    PrintLayout build()
    {
        const qreal firstBodyTop = titleBlock();
        const qreal rowHeight = m_headerHeight;
        qreal y = truncated(headers(firstBodyTop)) + 24;
        const qreal continuedTop = truncated(kPageTop + m_headerHeight + 16) + 24;
        for (const NWReportRecord& record : m_content.records) {
            if (y + rowHeight + kFooterRoom > m_pageHeight) {
                ++m_page;
                headers(kPageTop);
                y = continuedTop;
            }
            const QString cells[] = {
                reporttext::monthAndYear(record.recordDate()),
                reporttext::amount(record.amount()),
                reporttext::amount(record.changeAmount()),
                reporttext::percent(record.changePercent()),
            };
            for (int i = 0; i < 4; ++i) {
                const TableReportColumn& column = m_columns.at(i);
                const int alignment = i == 0 ? Qt::AlignLeft : Qt::AlignRight;
                // 4.7:1 on white paper, as the statement's rows.
                m_layout.addCell(m_page, QRectF(column.x, y, column.width, rowHeight), cells[i], m_cellFont,
                    grey(0.45), alignment | Qt::AlignTop | Qt::TextDontClip);
            }
            y = truncated(y + rowHeight + kRowSpacing);
        }
        return std::move(m_layout);
    }

private:
    // The first page's title, period, subtitle and line; returns where its headers stand.
    qreal titleBlock()
    {
        const QFont titleFont = reporttext::font(22, QFont::Bold);
        const QFont subtitleFont = reporttext::font(14, QFont::Light);
        const qreal titleHeight = reporttext::height(m_content.title, titleFont);
        m_layout.addText(0, QRectF(0, kPageTop, m_width / 2 - 8, titleHeight), m_content.title, titleFont,
            m_content.titleColor, Qt::AlignLeft | Qt::AlignTop);
        m_layout.addText(0, QRectF(m_width / 2 + 8, kPageTop, m_width / 2 - 16, titleHeight),
            m_content.period, reporttext::font(14), grey(0.25), Qt::AlignRight | Qt::AlignTop);

        const qreal subtitleHeight = reporttext::height(m_content.subtitle, subtitleFont);
        QString subtitle = m_content.subtitle;
        const qreal subtitleWidth = reporttext::width(subtitle, subtitleFont);
        if (subtitleWidth > m_width - 10) {
            subtitle = u"%1...)"_s.arg(reporttext::prefix(
                subtitle, qsizetype(std::trunc(double(subtitle.size()) * (m_width - 10) / subtitleWidth))));
        }
        const qreal s = truncated(1 + titleHeight + 8);
        m_layout.addText(0, QRectF(0, s, m_width, subtitleHeight), subtitle, subtitleFont,
            m_content.subtitleColor, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip);
        const qreal l = truncated(subtitleHeight + 24 + s);
        m_layout.addLine(0, QLineF(0, l - 8, m_width, l - 8), 1.1, grey(0.6));
        return l + 24;
    }

    // The column headers at `top` of the current page and the line under them; returns where
    // the body begins.
    qreal headers(qreal top)
    {
        for (int i = 0; i < m_columns.size(); ++i) {
            const TableReportColumn& column = m_columns.at(i);
            const int alignment = i == 0 ? Qt::AlignLeft : Qt::AlignRight;
            m_layout.addCell(m_page, QRectF(column.x, top, column.width, m_headerHeight), column.header,
                m_headerFont, grey(0.35), alignment | Qt::AlignTop | Qt::TextDontClip);
        }
        const qreal a = truncated(m_headerHeight + 16 + top);
        m_layout.addLine(m_page, QLineF(0, a - 8, m_width, a - 8), 0.8, grey(0.7));
        return a;
    }

    const TableReportContent& m_content;
    PrintLayout m_layout;
    qreal m_width;
    qreal m_pageHeight;
    QList<TableReportColumn> m_columns;
    QFont m_headerFont = reporttext::font(14);
    QFont m_cellFont = reporttext::font(12);
    qreal m_headerHeight = 0;
    int m_page = 0;
};

} // namespace

QList<TableReportColumn> tableReportColumns()
{
    return {
        { platform::Strings::tr("Log date"), 20, 100 },
        { platform::Strings::tr("Amount"), 130, 140 },
        { platform::Strings::tr("Change"), 280, 120 },
        { platform::Strings::tr("Percent change"), 410, 130 },
    };
}

PrintLayout layOutTableReport(const TableReportContent& content, const QSizeF& pageSize)
{
    return TableBuilder(content, pageSize).build();
}
