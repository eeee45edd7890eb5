#include "reports/print/NWPrinView_GenericTable.h"
#include "reports/print/ReportText.h"
#include "reports/print/TableReportLayout.h"

#include "PrintedPdf.h"
#include "model/data/MVX_Model.h"
#include "platform/Clock.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <cmath>
#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QString kFund = u"fund"_s;
const QColor kTitleColor = QColor::fromRgbF(0.11f, 0.52f, 0.98f);
const QColor kSubtitleColor = QColor::fromRgbF(0.25f, 0.25f, 0.25f);
// Where the page's printable area starts on the paper: the shell's margins.
constexpr qreal kLeft = 18, kTop = 30;

class TableReportPrintTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        m_model = MVX_Model::makeEmpty();
        m_model->setBaseCurrency(u"USD"_s);
        m_model->setAssetscat(MVX_CategoryList { category(kFund, u"Index fund"_s) });
        m_model->setNwLogArray(MVX_NWLogList());
        store().setAppData(m_model);
    }

    // `count` months ending in December 2024, newest first; the fund grows by 100 a month.
    void addMonths(int count)
    {
        int year = 2024, month = 12;
        for (int i = 0; i < count; ++i) {
            auto record = recordWith(year, month, { { kFund, 10000.0 + 100.0 * (count - i) } });
            // As the data file holds them: each value knows its month.
            record->assetLogs()->first()->setYear(year);
            record->assetLogs()->first()->setMonth(month);
            m_model->nwLogArray()->append(record);
            if (--month == 0) {
                month = 12;
                --year;
            }
        }
        installAndSave(m_model);
    }

    int print(const QString& pdf, const QList<NWReportRecord>& records, const QString& subtitle)
    {
        auto printer = reportPrinter(pdf);
        NWPrinView_GenericTable view(*printer, store(), u"Assets report"_s, subtitle,
            u"Dec 2024 - Jan 2012"_s, kTitleColor, kSubtitleColor, records);
        const qint64 pages = view.totalPages();
        EXPECT_TRUE(view.print(*printer));
        return int(pages);
    }

    std::shared_ptr<MVX_Model> m_model;
};

TEST_F(TableReportPrintTest, AHundredAndFiftyMonthsPrintNewestFirstWithNoneLostOrDoubled)
{
    addMonths(150);
    const QList<NWReportRecord> records = store().getAssetReportRecords(kFund, std::nullopt, std::nullopt);
    ASSERT_EQ(records.size(), 150);
    const QString pdf = homePath(u"table.pdf"_s);
    const int counted = print(pdf, records, u"Category: Index fund"_s);

    const PrintedPdf printed(pdf);
    const int pages = printed.pageCount();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(counted, pages);
    EXPECT_TRUE(samePaperSize(printed.pageSize(), reportPaper().size(QPageSize::Point)));

    QStringList printedMonths;
    const QRegularExpression monthRow(u"^(\\w+ \\d{4}) "_s, QRegularExpression::MultilineOption);
    for (int page = 1; page <= pages; ++page) {
        const QString text = printed.text(page);
        EXPECT_TRUE(text.contains(u"Page %1 of %2"_s.arg(page).arg(pages))) << page;
        EXPECT_TRUE(text.contains(u"Log date Amount Change Percent change"_s)) << page;
        for (auto it = monthRow.globalMatch(text); it.hasNext();)
            printedMonths.append(it.next().captured(1));
    }
    QStringList expected;
    for (const NWReportRecord& record : records)
        expected.append(reporttext::monthAndYear(record.recordDate()));
    EXPECT_EQ(printedMonths, expected);
    ASSERT_FALSE(printedMonths.isEmpty());
    EXPECT_EQ(printedMonths.first(), u"December 2024"_s);

    const QString all = printed.text();
    EXPECT_TRUE(all.contains(u"December 2024 $25,000 $100 0.4%"_s)) << all.left(2000).toStdString();
    // The oldest row has nothing to compare with.
    EXPECT_TRUE(all.contains(u"$10,100 $0 0.0%"_s));
}

TEST_F(TableReportPrintTest, ColumnsStandWhereTheReportPlacesThemOnEveryPage)
{
    const QSizeF page = reportPage();
    addMonths(80);
    const QString pdf = homePath(u"columns.pdf"_s);
    print(pdf, store().getAssetReportRecords(kFund, std::nullopt, std::nullopt), u"Category: Index fund"_s);
    const PrintedPdf printed(pdf);
    const int pages = printed.pageCount();
    ASSERT_GE(pages, 2);

    int headers = 0;
    int amounts = 0;
    for (const PrintedPdf::Word& word : printed.words()) {
        // Left aligned at x 20; right aligned to 270, 400 and 540.
        if (word.text == u"Log") {
            ++headers;
            EXPECT_NEAR(word.box.left(), kLeft + 20, 1.5);
            // Headers 9 points below the top of every page after the first.
            if (word.page > 1) {
                EXPECT_NEAR(word.box.top(), kTop + 9, 3);
            }
        } else if (word.text == u"Amount") {
            EXPECT_NEAR(word.box.right(), kLeft + 270, 1.5);
        } else if (word.text == u"Change") {
            EXPECT_NEAR(word.box.right(), kLeft + 400, 1.5);
        } else if (word.text == u"change") {
            EXPECT_NEAR(word.box.right(), kLeft + 540, 1.5);
        } else if (word.text.startsWith(u"$1") && word.text.contains(u',')) {
            ++amounts;
            EXPECT_NEAR(word.box.right(), kLeft + 270, 1.5) << word.text.toStdString();
        } else if (word.text.endsWith(u"%") && word.text != u"0.0%") {
            EXPECT_NEAR(word.box.right(), kLeft + 540, 1.5) << word.text.toStdString();
        }
        // Nothing is printed beyond the page's printable area.
        EXPECT_LE(word.box.bottom(), kTop + page.height() + 1) << word.text.toStdString();
    }
    EXPECT_EQ(headers, pages);
    EXPECT_EQ(amounts, 80);

    // Rows on later pages start 9 + H + 16 + 24 points below the top; every row clears the footer.
    TableReportContent content;
    content.records = store().getAssetReportRecords(kFund, std::nullopt, std::nullopt);
    const PrintLayout layout = layOutTableReport(content, page);
    const qreal headerHeight = reporttext::height(u"Log date"_s, reporttext::font(14));
    qreal firstRowOnSecondPage = 1e9;
    for (const PrintLayout::Text& text : layout.texts()) {
        if (text.page == 1 && text.rect.x() == 20 && text.text != u"Log date")
            firstRowOnSecondPage = std::min(firstRowOnSecondPage, text.rect.top());
        EXPECT_LE(text.rect.bottom(), page.height() - 20);
    }
    EXPECT_EQ(firstRowOnSecondPage, std::trunc(9 + headerHeight + 16) + 24);
}

TEST_F(TableReportPrintTest, ASubtitleTooWideIsCutAndEndsInAnEllipsisAndParenthesis)
{
    const QSizeF page = reportPage();
    QString tags = u"Selected tags: ("_s;
    for (int i = 0; i < 60; ++i)
        tags += u"Tag number %1,"_s.arg(i);
    tags += u"last)"_s;
    TableReportContent content { u"Tags report"_s, tags, u"Dec 2024 - Jan 2024"_s, kTitleColor,
        kSubtitleColor, {} };
    const PrintLayout layout = layOutTableReport(content, page);
    const auto subtitle = std::find_if(layout.texts().begin(), layout.texts().end(),
        [](const PrintLayout::Text& text) { return text.text.startsWith(u"Selected tags: ("_s); });
    ASSERT_NE(subtitle, layout.texts().end());
    EXPECT_TRUE(subtitle->text.endsWith(u"...)"_s));
    EXPECT_TRUE(tags.startsWith(subtitle->text.chopped(4)));
    EXPECT_LT(subtitle->text.size(), tags.size());
    EXPECT_LE(reporttext::width(subtitle->text.chopped(4), subtitle->font), page.width() - 10 + 1);

    // A subtitle that fits stays whole.
    content.subtitle = u"Category: Index fund"_s;
    const PrintLayout fits = layOutTableReport(content, page);
    EXPECT_TRUE(std::any_of(fits.texts().begin(), fits.texts().end(),
        [](const PrintLayout::Text& text) { return text.text == u"Category: Index fund"_s; }));
}

TEST_F(TableReportPrintTest, AReportWithoutRecordsPrintsOnePageWithItsFooter)
{
    const platform::ScopedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 41, 7), QTimeZone::utc()));
    const QString pdf = homePath(u"empty.pdf"_s);
    EXPECT_EQ(print(pdf, {}, u"Category: Index fund"_s), 1);
    const PrintedPdf printed(pdf);
    EXPECT_EQ(printed.pageCount(), 1);
    const QString text = printed.text(1, u"-layout"_s);
    EXPECT_TRUE(text.contains(u"Page 1 of 1"_s));
    EXPECT_TRUE(text.contains(u"Assets report"_s));
    EXPECT_TRUE(text.contains(u"Dec 2024 - Jan 2012"_s));
    EXPECT_TRUE(text.contains(u"Category: Index fund"_s));
    EXPECT_TRUE(text.contains(u"Percent change"_s));
    // The print date and time in the medium styles.
    EXPECT_TRUE(text.contains(u"Mar 5, 2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"9:41:07"_s));
}

TEST_F(TableReportPrintTest, TheWidestAmountsKeepTheirSignAndFirstDigitsAndNoColumnPrintsOverAnother)
{
    constexpr double most = std::numeric_limits<double>::max();
    // Amount, change and change ratio of each row.
    const double rows[][3] = { { 1e20, 1e20, 1e18 }, { -1e20, -1e20, -1e18 }, { most, most, most / 100 },
        { -most, -most, -most / 100 } };
    QList<NWReportRecord> records;
    QStringList amounts;
    for (const auto& row : rows) {
        NWReportRecord record;
        record.setRecordDate(QDate(2024, 12 - int(records.size()), 1).startOfDay());
        record.setAmount(row[0]);
        record.setChangeAmount(row[1]);
        record.setChangePercent(row[2]);
        records.append(record);
        amounts << reporttext::amount(row[0]) << reporttext::amount(row[1]) << reporttext::percent(row[2]);
    }
    const TableReportContent content { u"Assets report"_s, u"Category: Index fund"_s,
        u"Dec 2024 - Sep 2024"_s, kTitleColor, kSubtitleColor, records };
    const PrintLayout layout = layOutTableReport(content, reportPage());
    EXPECT_EQ(overprintedTexts(layout).join(u'\n').toStdString(), "");

    const QString pdf = homePath(u"widest.pdf"_s);
    print(pdf, records, content.subtitle);
    const QList<PrintedPdf::Word> words = PrintedPdf(pdf).words();
    EXPECT_EQ(overprintedWords(words).join(u'\n').toStdString(), "");
    EXPECT_EQ(amountsWithoutTheirStart(words, amounts).join(u'\n').toStdString(), "");
    // An amount of 1e20 is set smaller rather than cut.
    EXPECT_TRUE(std::any_of(words.begin(), words.end(),
        [&](const PrintedPdf::Word& word) { return word.text == reporttext::amount(-1e20); }));
}

} // namespace

namespace {

TEST_F(TableReportPrintTest, PaperChangedInThePrintPanelIsLaidOutAgainBeforePrinting)
{
    addMonths(100);
    const QString pdf = homePath(u"a4.pdf"_s);
    auto printer = reportPrinter(pdf);
    NWPrinView_GenericTable view(*printer, store(), u"Assets report"_s, u"Category: Index fund"_s,
        u"Dec 2024 - Jan 2012"_s, kTitleColor, kSubtitleColor,
        store().getAssetReportRecords(kFund, std::nullopt, std::nullopt));
    const qint64 onTheFirstPaper = view.totalPages();
    // What a user does in the panel: another paper, wider margins.
    printer->setPageSize(QPageSize(QPageSize::A5));
    printer->setPageMargins(QMarginsF(18, 60, 18, 60), QPageLayout::Point);
    ASSERT_TRUE(view.print(*printer));

    const PrintedPdf printed(pdf);
    EXPECT_EQ(printed.pageSize().toSize(), QSize(420, 595));
    const int pages = printed.pageCount();
    EXPECT_GT(pages, onTheFirstPaper);
    EXPECT_EQ(view.totalPages(), pages);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(printed.text(page).contains(u"Page %1 of %2"_s.arg(page).arg(pages))) << page;
    QSet<QString> months;
    const QRegularExpression monthRow(u"^(\\w+ \\d{4}) "_s, QRegularExpression::MultilineOption);
    for (auto it = monthRow.globalMatch(printed.text()); it.hasNext();)
        months.insert(it.next().captured(1));
    EXPECT_EQ(months.size(), 100);
}

} // namespace
