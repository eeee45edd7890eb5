#include "reports/print/StatementLayout.h"

#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_NWLog.h"
#include "platform/Strings.h"
#include "reports/print/ReportText.h"

#include <QFontMetricsF>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

using reporttext::grey;
using reporttext::truncated;

constexpr int kTop = 1;
constexpr qreal kNameWidth = 200.0;
// Rows go on this far below the top of the next page.
constexpr qreal kContinuedRowsTop = 65.0;
constexpr qreal kChangesLineGap = 2.0;
// Paper left between a cell and the next one to its right.
constexpr qreal kCellGap = 8.0;
// The left edges of the label, the share and the amount of a line of the changes.
constexpr qreal kChangeLabelX = 40.0;
constexpr qreal kChangeShareX = 115.0;
constexpr qreal kChangeAmountX = 180.0;
// In place of a change that is not a number.
const QString kNoFigure = u"-"_s;

struct Styles {
    QFont title = reporttext::font(16, QFont::Bold);
    QFont name = reporttext::font(12);
    QFont columnTitle = reporttext::font(14, QFont::Bold);
    QFont totals = reporttext::font(20, QFont::Bold);
    QFont heading = reporttext::font(13, QFont::Bold);
    QFont row = reporttext::font(12);
    // On white paper every text reaches 4.5:1, the 20-point amounts 3:1: a colour that was
    // paler keeps its hue and is darkened only as far as that needs.
    QColor columnTitleColor = grey(0.45);
    QColor netWorthColor = QColor::fromRgbF(0.28f, 0.6f, 0.77f);
    QColor assetsColor = QColor(0x5D, 0xA0, 0x36);
    QColor liabilitiesColor = QColor::fromRgbF(0.8f, 0.15f, 0.19f);
    QColor headingColor = grey(0.25);
    QColor rowColor = grey(0.45);
    QColor assetValueColor = QColor(0x4B, 0x82, 0x22);
    QColor liabilityValueColor = QColor(0xE9, 0x04, 0x3E);
    QColor lineColor = grey(0.7);
};

class StatementBuilder {
public:
    StatementBuilder(const StatementContent& content, const QSizeF& pageSize)
        : m_content(content), m_layout(pageSize), m_width(pageSize.width()), m_pageHeight(pageSize.height())
    {
    }

    PrintLayout build()
    {
        const MVX_NWLog& record = *m_content.record;
        const QString title = u"%1 %2 %3"_s.arg(u"NET WORTH STATEMENT - "_s,
            reporttext::monthName(record.month().value_or(1)).toUpper(),
            QString::number(record.year().value_or(0)));
        m_titleHeight = reporttext::height(title, m_styles.title);
        const qreal changeHeights = header(title);
        categories(changeHeights);
        return std::move(m_layout);
    }

private:
    void text(qreal x, qreal y, qreal width, qreal height, const QString& text, const QFont& font,
        const QColor& color, int flags = Qt::AlignLeft)
    {
        m_layout.addText(m_page, QRectF(x, y, width, height), text, font, color, flags | Qt::AlignTop);
    }

    // A text of a column, fitted to its width.
    void cell(qreal x, qreal y, qreal width, qreal height, const QString& text, const QFont& font,
        const QColor& color, int flags = Qt::AlignLeft)
    {
        m_layout.addCell(m_page, QRectF(x, y, width, height), text, font, color, flags | Qt::AlignTop);
    }

    void line(qreal y, qreal width, const QColor& color)
    {
        m_layout.addLine(m_page, QLineF(0, y, m_width, y), width, color);
    }

    // The first page's header; returns the height of the changes section.
    qreal header(const QString& title)
    {
        const MVX_NWLog& record = *m_content.record;
        text(0, kTop, m_width, m_titleHeight, title, m_styles.title, Qt::black);
        qreal y = truncated(kTop + m_titleHeight + 8);
        if (!m_content.name.isEmpty()) {
            const qreal nameHeight = reporttext::height(m_content.name, m_styles.name);
            text(0, y, m_width, nameHeight, m_content.name, m_styles.name, Qt::black, Qt::TextDontClip);
            y = truncated(y + m_titleHeight + nameHeight + 16);
        } else {
            y = truncated(y + m_titleHeight);
        }

        const qreal column = m_width / 3;
        const qreal cellWidth = column - kCellGap;
        const QString netWorthTitle = platform::Strings::tr("NET WORTH");
        m_nwTitleHeight = reporttext::height(netWorthTitle, m_styles.columnTitle);
        cell(
            0, y, cellWidth, m_nwTitleHeight, netWorthTitle, m_styles.columnTitle, m_styles.columnTitleColor);
        cell(column, y, cellWidth, m_nwTitleHeight, platform::Strings::tr("ASSETS"), m_styles.columnTitle,
            m_styles.columnTitleColor);
        cell(2 * column, y, cellWidth, m_nwTitleHeight, platform::Strings::tr("LIABILITIES"),
            m_styles.columnTitle, m_styles.columnTitleColor);
        y = truncated(y + m_nwTitleHeight);

        const QString netWorth = reporttext::amount(record.nw().value_or(0));
        m_netWorthHeight = reporttext::height(netWorth, m_styles.totals);
        cell(0, y, cellWidth, m_netWorthHeight, netWorth, m_styles.totals, m_styles.netWorthColor);
        cell(column, y, cellWidth, m_netWorthHeight, reporttext::amount(record.assets().value_or(0)),
            m_styles.totals, m_styles.assetsColor);
        cell(2 * column, y, cellWidth, m_netWorthHeight, reporttext::amount(record.liabilities().value_or(0)),
            m_styles.totals, m_styles.liabilitiesColor);
        y = truncated(y + m_netWorthHeight + 16);
        line(y - 8, 0.8, m_styles.lineColor);

        qreal changeHeights = 0;
        if (m_content.pastMonthRecord)
            y = changes(*m_content.pastMonthRecord, y, 8, changeHeights);
        if (m_content.pastYearRecord)
            y = changes(*m_content.pastYearRecord, y, 16, changeHeights);
        line(y, 0.8, m_styles.lineColor);
        return changeHeights;
    }

    // One block of the changes section at `y`; returns where the section goes on.
    qreal changes(const MVX_NWLog& past, qreal y, qreal gapAfter, qreal& changeHeights)
    {
        const MVX_NWLog& current = *m_content.record;
        const QString heading = u"Changes relative to  %1 %2"_s.arg(
            reporttext::monthName(past.month().value_or(1)), QString::number(past.year().value_or(0)));
        const qreal headingHeight = reporttext::height(heading, m_styles.heading);
        text(0, y, m_width, headingHeight, heading, m_styles.heading, m_styles.headingColor);
        changeHeights += headingHeight + 4;
        y = truncated(y + headingHeight + 4);

        struct Row {
            QString label;
            double now;
            double then;
        };
        const Row rows[] = {
            { platform::Strings::tr("Net worth:"), current.nw().value_or(0), past.nw().value_or(0) },
            { platform::Strings::tr("Assets:"), current.assets().value_or(0), past.assets().value_or(0) },
            { platform::Strings::tr("Liabilities:"), current.liabilities().value_or(0),
                past.liabilities().value_or(0) },
        };
        for (int i = 0; i < 3; ++i) {
            const Row& row = rows[i];
            const double change = row.now - row.then;
            double ratio = row.then == 0.0 ? 0.0 : change / row.then;
            // A base too small for the change is taken as none; a change beyond what a number
            // holds (only of totals beyond the model's rules) has no figure.
            if (!std::isfinite(ratio * 100.0))
                ratio = 0.0;
            const bool figure = std::isfinite(change);
            const QString amount = figure ? reporttext::amount(change) : kNoFigure;
            const QString share = figure ? reporttext::percent(ratio) : kNoFigure;
            const qreal r = reporttext::height(amount, m_styles.row);
            cell(kChangeLabelX, y, kChangeShareX - kChangeLabelX - kCellGap,
                reporttext::height(row.label, m_styles.row), row.label, m_styles.row, m_styles.rowColor);
            cell(kChangeShareX, y, kChangeAmountX - kChangeShareX - kCellGap,
                reporttext::height(share, m_styles.row), share, m_styles.row, m_styles.rowColor);
            cell(kChangeAmountX, y, m_width - kChangeAmountX, r, amount, m_styles.row, m_styles.rowColor);
            // A line and a little more each: parentheses reach nearly the whole height of a
            // line, and with less the lines touch.
            const qreal step = i < 2 ? r + kChangesLineGap : r + gapAfter;
            y = truncated(y + step);
            changeHeights += step;
        }
        return y;
    }

    void categories(qreal changeHeights)
    {
        const MVX_NWLog& record = *m_content.record;
        const qreal start
            = truncated(25 + 2 * m_titleHeight + m_nwTitleHeight + m_netWorthHeight + changeHeights + 40);
        m_rowHeight
            = truncated(QFontMetricsF(m_styles.row)
                            .boundingRect(QRectF(0, 0, 74, 1e6), Qt::AlignLeft | Qt::TextWordWrap, u"$1000"_s)
                            .height());

        const QString assetHeading = platform::Strings::tr("Asset categories");
        const qreal assetHeadingHeight = reporttext::height(assetHeading, m_styles.heading);
        text(
            0, start + 8, m_width, assetHeadingHeight, assetHeading, m_styles.heading, m_styles.headingColor);
        qreal y = truncated(start + assetHeadingHeight + 8 + 20);
        if (record.assetLogs())
            y = rows(*record.assetLogs(), y, record.assets().value_or(0), m_content.assetName, true);

        y += 8;
        if (y + 20 > PrintLayout::bodyBottom(m_pageHeight))
            y = nextPage();
        const QString liabilityHeading = platform::Strings::tr("Liability categories");
        const qreal liabilityHeadingHeight = reporttext::height(liabilityHeading, m_styles.heading);
        text(
            0, y, m_width, liabilityHeadingHeight, liabilityHeading, m_styles.heading, m_styles.headingColor);
        y = truncated(y + liabilityHeadingHeight + 20);
        if (record.liabilityLogs())
            rows(
                *record.liabilityLogs(), y, record.liabilities().value_or(0), m_content.liabilityName, false);
    }

    qreal rows(const MVX_CategoryLogList& logs, qreal y, double total,
        const std::function<std::optional<QString>(const QString&)>& nameOf, bool assets)
    {
        const QColor& valueColor = assets ? m_styles.assetValueColor : m_styles.liabilityValueColor;
        for (const auto& log : logs) {
            if (!log)
                continue;
            if (y + m_rowHeight > PrintLayout::bodyBottom(m_pageHeight))
                y = nextPage();
            const std::optional<QString> known = nameOf ? nameOf(log->categoryID()) : std::nullopt;
            const QString name = known.value_or(unknownCategoryName());
            if (assets) {
                text(40, y, kNameWidth, m_rowHeight, reporttext::cutToWidth(name, m_styles.row, kNameWidth),
                    m_styles.row, m_styles.rowColor, Qt::TextDontClip);
            } else {
                // Drawn whole, wrapped within its rectangle as a long name is.
                text(40, y, kNameWidth, m_rowHeight, name, m_styles.row, m_styles.rowColor, Qt::TextWordWrap);
            }
            const double value = log->value().value_or(0);
            cell(260, y, 90, m_rowHeight, reporttext::amount(value), m_styles.row, valueColor,
                Qt::AlignRight | Qt::TextDontClip);
            // No share of a total near nothing, nor one beyond what a number holds.
            if (total > 0.01 && std::isfinite(value / total * 100.0)) {
                cell(370, y, 60, m_rowHeight, reporttext::percent(value / total), m_styles.row, valueColor,
                    Qt::AlignRight | Qt::TextDontClip);
            }
            y += m_rowHeight;
        }
        return y;
    }

    qreal nextPage()
    {
        ++m_page;
        m_layout.usePage(m_page);
        return kContinuedRowsTop;
    }

    const StatementContent& m_content;
    Styles m_styles;
    PrintLayout m_layout;
    qreal m_width;
    qreal m_pageHeight;
    int m_page = 0;
    qreal m_titleHeight = 0;
    qreal m_nwTitleHeight = 0;
    qreal m_netWorthHeight = 0;
    qreal m_rowHeight = 0;
};

} // namespace

QString unknownCategoryName()
{
    return platform::Strings::tr("(unknown category)");
}

PrintLayout layOutStatement(const StatementContent& content, const QSizeF& pageSize)
{
    Q_ASSERT(content.record);
    return StatementBuilder(content, pageSize).build();
}
