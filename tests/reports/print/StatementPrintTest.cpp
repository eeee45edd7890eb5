#include "reports/print/NWPrintView_NWStatement.h"
#include "reports/print/PagePainter.h"
#include "reports/print/ReportText.h"
#include "reports/print/StatementLayout.h"
#include "reports/settings/ReportChoiceSettings.h"

#include "PrintedPdf.h"
#include "model/data/MVX_Model.h"
#include "platform/UserDefaults.h"
#include "support/Contrast.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// Texts a number that is not one would leave ("inf", "nan", "∞").
bool readsAsNoNumber(const QString& text)
{
    return text.contains(u"inf"_s, Qt::CaseInsensitive) || text.contains(u"nan"_s, Qt::CaseInsensitive)
        || text.contains(QChar(0x221E));
}

const QString kHouse = u"house"_s;
const QString kSavings = u"savings"_s;
const QString kMortgage = u"mortgage"_s;

// Pixels per point of the pictures the ink is measured on.
constexpr int kInkScale = 4;

// The bands of ink from top to bottom in points from `top`, of what `page` of `layout`
// prints between `top` and `bottom`, from `left` to the right edge.
QList<std::pair<qreal, qreal>> inkBands(
    const PrintLayout& layout, int page, qreal top, qreal bottom, qreal left)
{
    const QSizeF size(layout.pageSize().width() - left, bottom - top);
    QImage picture(QSizeF(size * kInkScale).toSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.scale(kInkScale, kInkScale);
    painter.translate(-left, -top);
    PagePainter::paintPage(painter, layout, page, u"Dec 7, 2026, 9:41:07 AM"_s);
    painter.end();
    QList<std::pair<qreal, qreal>> bands;
    bool inBand = false;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const bool ink
            = std::any_of(line, line + picture.width(), [](QRgb pixel) { return qGray(pixel) < 235; });
        if (ink && !inBand)
            bands.append({ qreal(y) / kInkScale, 0 });
        if (!ink && inBand)
            bands.last().second = qreal(y) / kInkScale;
        inBand = ink;
    }
    if (inBand)
        bands.last().second = size.height();
    return bands;
}

class StatementPrintTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        m_model = MVX_Model::makeEmpty();
        m_model->setBaseCurrency(u"USD"_s);
        m_model->setAssetscat(
            MVX_CategoryList { category(kHouse, u"House"_s), category(kSavings, u"Savings"_s) });
        m_model->setLiabilitycat(MVX_CategoryList { category(kMortgage, u"Mortgage"_s) });
        m_model->setNwLogArray(MVX_NWLogList());
        store().setAppData(m_model);
    }

    // Records of consecutive months, newest first, from (year, month) back `count` months.
    void addMonths(int year, int month, int count)
    {
        for (int i = 0; i < count; ++i) {
            const double step = 1000.0 * i;
            m_model->nwLogArray()->append(recordWith(year, month,
                { { kHouse, 300000.0 - step }, { kSavings, 20000.0 } }, { { kMortgage, 150000.0 } }));
            if (--month == 0) {
                month = 12;
                --year;
            }
        }
    }

    static void chooseMonth(int month, int year)
    {
        platform::UserDefaults::standard().setValue(u"print_selectedMonth"_s, month);
        platform::UserDefaults::standard().setValue(u"print_selectedYear"_s, year);
    }

    MVX_NWLog* newest() const { return m_model->nwLogArray()->first().get(); }
    // The newest record alone, its categories named as the store names them.
    StatementContent newestContent()
    {
        StatementContent content;
        content.record = newest();
        content.assetName
            = [this](const QString& ID) { return store().getAssetCategoryNameFromCategoryId(ID); };
        content.liabilityName
            = [this](const QString& ID) { return store().getLiabilityCategoryNameFromCategoryId(ID); };
        return content;
    }

    // Prints the statement of what the shell would pass to a PDF; the view itself.
    std::unique_ptr<NWPrintView_NWStatement> printStatement(const QString& pdf, bool* printed = nullptr)
    {
        auto printer = reportPrinter(pdf);
        const MVX_NWLog* record = m_model->nwLogArray()->isEmpty() ? nullptr : newest();
        auto view = std::make_unique<NWPrintView_NWStatement>(*printer, store(), record,
            NWPrintView_NWStatement::getPreviousLog(store(), record, 1),
            NWPrintView_NWStatement::getPreviousLog(store(), record, 12));
        const bool result = view->print(*printer);
        if (printed)
            *printed = result;
        return view;
    }

    QString pdfPath(const QString& name) const { return homePath(name); }

    std::shared_ptr<MVX_Model> m_model;
};

TEST_F(StatementPrintTest, TheChosenMonthIsComparedWithTheRecordsOneAndTwelvePositionsOlder)
{
    addMonths(2024, 5, 20); // March 2024 is third; February 2024 fourth, March 2023 fifteenth
    chooseMonth(3, 2024);
    const QString pdf = pdfPath(u"statement.pdf"_s);
    bool printed = false;
    const auto view = printStatement(pdf, &printed);
    ASSERT_TRUE(printed);
    ASSERT_NE(view->currentLog(), nullptr);
    EXPECT_EQ(view->currentLog()->month(), 3);
    EXPECT_EQ(view->currentLog()->year(), 2024);
    EXPECT_EQ(view->chosenMonthYear(), std::make_optional(std::pair { 3, 2024 }));

    const PrintedPdf printedPdf(pdf);
    EXPECT_EQ(printedPdf.pageCount(), 1);
    EXPECT_EQ(view->totalPages(), 1);
    EXPECT_TRUE(samePaperSize(printedPdf.pageSize(), reportPaper().size(QPageSize::Point)));
    const QString layoutText = printedPdf.text(1, u"-layout"_s);
    // pdftotext writes one blank for the two of the title: the gap between the hyphen and the
    // month shows them.
    EXPECT_TRUE(layoutText.contains(u"NET WORTH STATEMENT - MARCH 2024"_s)) << layoutText.toStdString();
    EXPECT_TRUE(layoutText.contains(u"Page 1 of 1"_s));
    const QList<PrintedPdf::Word> words = printedPdf.words();
    const auto hyphen
        = std::find_if(words.begin(), words.end(), [](const auto& word) { return word.text == u"-"; });
    ASSERT_NE(hyphen, words.end());
    ASSERT_NE(std::next(hyphen), words.end());
    EXPECT_EQ(std::next(hyphen)->text, u"MARCH"_s);
    const qreal blank = reporttext::width(u" "_s, reporttext::font(16, QFont::Bold));
    EXPECT_NEAR(std::next(hyphen)->box.left() - hyphen->box.right(), 2 * blank, 1.0);

    const QString raw = printedPdf.text(1);
    // The record's own totals: 298,000 + 20,000 assets, 150,000 liabilities.
    EXPECT_TRUE(raw.contains(u"$168,000 $318,000 $150,000"_s)) << raw.toStdString();
    // Against February 2024 (297,000 in the house).
    EXPECT_TRUE(raw.contains(u"Changes relative to February 2024"_s)) << raw.toStdString();
    EXPECT_TRUE(raw.contains(u"Net worth: 0.6% $1,000"_s));
    EXPECT_TRUE(raw.contains(u"Assets: 0.3% $1,000"_s));
    EXPECT_TRUE(raw.contains(u"Liabilities: 0.0% $0"_s));
    // Against March 2023, twelve records older (286,000 in the house).
    EXPECT_TRUE(raw.contains(u"Changes relative to March 2023"_s));
    EXPECT_TRUE(raw.contains(u"Net worth: 7.7% $12,000"_s));
    EXPECT_TRUE(raw.contains(u"Assets: 3.9% $12,000"_s));
    // The categories with their values and shares of the totals.
    EXPECT_TRUE(raw.contains(u"House $298,000 93.7%"_s));
    EXPECT_TRUE(raw.contains(u"Savings $20,000 6.3%"_s));
    EXPECT_TRUE(raw.contains(u"Mortgage $150,000 100.0%"_s));
}

TEST_F(StatementPrintTest, LossesPrintInParenthesesAndAZeroComparisonAsZeroPercent)
{
    m_model->nwLogArray()->append(recordWith(2024, 3, { { kHouse, 1000.0 } }, { { kMortgage, 500.0 } }));
    m_model->nwLogArray()->append(recordWith(2024, 2, { { kHouse, 3000.0 } }));
    const QString pdf = pdfPath(u"losses.pdf"_s);
    printStatement(pdf);
    const QString raw = PrintedPdf(pdf).text(1);
    EXPECT_TRUE(raw.contains(u"Net worth: -83.3% ($2,500)"_s)) << raw.toStdString();
    EXPECT_TRUE(raw.contains(u"Assets: -66.7% ($2,000)"_s));
    EXPECT_TRUE(raw.contains(u"Liabilities: 0.0% $500"_s));
}

TEST_F(StatementPrintTest, WithoutTheChosenMonthOrAnyRecordNothingIsPrinted)
{
    // A chosen month that no record has: never another month in its place.
    addMonths(2024, 5, 3);
    chooseMonth(7, 2019);
    const QString missing = pdfPath(u"missing.pdf"_s);
    bool printed = true;
    auto view = printStatement(missing, &printed);
    EXPECT_FALSE(printed);
    EXPECT_EQ(view->currentLog(), nullptr);
    EXPECT_EQ(view->chosenMonthYear(), std::make_optional(std::pair { 7, 2019 }));
    EXPECT_EQ(view->totalPages(), 0);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // No record at all, with or without a chosen month.
    m_model->nwLogArray()->clear();
    for (bool chosen : { true, false }) {
        if (!chosen) {
            platform::UserDefaults::standard().remove(u"print_selectedMonth"_s);
            platform::UserDefaults::standard().remove(u"print_selectedYear"_s);
        }
        const QString empty = pdfPath(u"empty.pdf"_s);
        view = printStatement(empty, &printed);
        EXPECT_FALSE(printed);
        EXPECT_EQ(view->currentLog(), nullptr);
        EXPECT_EQ(view->chosenMonthYear().has_value(), chosen);
        EXPECT_FALSE(QFileInfo::exists(empty));
    }
}

TEST_F(StatementPrintTest, WithoutAChosenMonthTheNewestRecordIsPrintedAndTheOldestHasNoChanges)
{
    addMonths(2024, 5, 2);
    const QString pdf = pdfPath(u"newest.pdf"_s);
    bool printed = false;
    auto view = printStatement(pdf, &printed);
    ASSERT_TRUE(printed);
    EXPECT_EQ(view->currentLog(), newest());
    QString text = PrintedPdf(pdf).text(1);
    EXPECT_TRUE(text.contains(u"NET WORTH STATEMENT - MAY 2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Changes relative to April 2024"_s));
    // Fewer than twelve older records: no previous-year block.
    EXPECT_FALSE(text.contains(u"2023"_s));

    chooseMonth(4, 2024);
    view = printStatement(pdf, &printed);
    ASSERT_TRUE(printed);
    text = PrintedPdf(pdf).text(1);
    EXPECT_TRUE(text.contains(u"NET WORTH STATEMENT - APRIL 2024"_s));
    EXPECT_FALSE(text.contains(u"Changes relative to"_s));
}

TEST_F(StatementPrintTest, AfterAGapTheNextOlderRecordIsThePreviousMonth)
{
    m_model->nwLogArray()->append(recordWith(2024, 3, { { kHouse, 1000.0 } }));
    m_model->nwLogArray()->append(recordWith(2023, 11, { { kHouse, 800.0 } }));
    EXPECT_EQ(
        NWPrintView_NWStatement::getPreviousLog(store(), newest(), 1), m_model->nwLogArray()->at(1).get());
    EXPECT_EQ(NWPrintView_NWStatement::getPreviousLog(store(), newest(), 2), nullptr);
    const MVX_NWLog stranger;
    EXPECT_EQ(NWPrintView_NWStatement::getPreviousLog(store(), &stranger, 1), nullptr);

    const QString pdf = pdfPath(u"gap.pdf"_s);
    printStatement(pdf);
    const QString raw = PrintedPdf(pdf).text(1);
    EXPECT_TRUE(raw.contains(u"Changes relative to November 2023"_s)) << raw.toStdString();
    EXPECT_TRUE(raw.contains(u"Assets: 25.0% $200"_s));
}

TEST_F(StatementPrintTest, TheNameLineIsPrintedOnlyWhenChosen)
{
    addMonths(2024, 5, 1);
    platform::UserDefaults::standard().setValue(u"print_nameField"_s, u"Ada Lovelace"_s);
    const QString pdf = pdfPath(u"name.pdf"_s);
    printStatement(pdf);
    EXPECT_FALSE(PrintedPdf(pdf).text().contains(u"Ada Lovelace"_s));
    platform::UserDefaults::standard().setValue(u"print_includeName"_s, true);
    printStatement(pdf);
    EXPECT_TRUE(PrintedPdf(pdf).text().contains(u"Ada Lovelace"_s));
}

TEST_F(StatementPrintTest, EightyCategoriesPaginateWithEveryNameOnceAndEveryPageCounted)
{
    MVX_CategoryList categories;
    std::vector<std::pair<QString, double>> values;
    for (int i = 1; i <= 80; ++i) {
        const QString ID = u"asset-%1"_s.arg(i);
        categories.append(category(ID, u"Holding%1"_s.arg(i, 3, 10, QLatin1Char('0'))));
        values.emplace_back(ID, 1000.0 * i);
    }
    m_model->setAssetscat(categories);
    m_model->nwLogArray()->append(recordWith(2024, 3, values, { { kMortgage, 5000.0 } }));

    const QString pdf = pdfPath(u"eighty.pdf"_s);
    bool printed = false;
    const auto view = printStatement(pdf, &printed);
    ASSERT_TRUE(printed);
    const PrintedPdf printedPdf(pdf);
    const int pages = printedPdf.pageCount();
    ASSERT_GE(pages, 2);
    EXPECT_EQ(view->totalPages(), pages);

    const QString all = printedPdf.text();
    for (int i = 1; i <= 80; ++i) {
        const QString name = u"Holding%1"_s.arg(i, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(all.count(name), 1) << name.toStdString();
    }
    EXPECT_EQ(all.count(u"Mortgage"_s), 1);
    for (int page = 1; page <= pages; ++page) {
        const QString text = printedPdf.text(page);
        EXPECT_TRUE(text.contains(u"Page %1 of %2"_s.arg(page).arg(pages))) << page;
        EXPECT_EQ(text.count(u"Page "_s), 1);
    }
    // 1,000 + ... + 80,000 = 3,240,000 assets; net worth 3,235,000.
    EXPECT_TRUE(all.contains(u"$3,240,000"_s));
    EXPECT_TRUE(all.contains(u"$3,235,000"_s));

    // Every row lies above the footer of its page: no row cut at a break, rows on later pages
    // continue 65 points below the top.
    const QSizeF page = reportPage();
    const PrintLayout layout = layOutStatement(newestContent(), page);
    EXPECT_EQ(layout.pageCount(), pages);
    qreal firstOnSecondPage = 1e9;
    for (const PrintLayout::Text& text : layout.texts()) {
        EXPECT_LE(text.rect.bottom(), PrintLayout::bodyBottom(page.height())) << text.text.toStdString();
        if (text.page == 1)
            firstOnSecondPage = std::min(firstOnSecondPage, text.rect.top());
    }
    EXPECT_EQ(firstOnSecondPage, 65);
}

TEST_F(StatementPrintTest, TheLastRowOfAPageAndTheChangesLinesStandClearOfWhatFollows)
{
    // Two hundred assets as in a large household, losses in parentheses against last month.
    MVX_CategoryList categories;
    std::vector<std::pair<QString, double>> now, lastMonth, lastYear;
    for (int i = 1; i <= 200; ++i) {
        const QString ID = u"asset-%1"_s.arg(i);
        categories.append(category(ID, u"Asset %1"_s.arg(i)));
        now.emplace_back(ID, 90000.0 + 4500 * i);
        lastMonth.emplace_back(ID, 95000.0 + 4500 * i);
        lastYear.emplace_back(ID, 80000.0 + 4500 * i);
    }
    m_model->setAssetscat(categories);
    const auto current = recordWith(2025, 12, now, { { kMortgage, 294531.0 } });
    const auto pastMonth = recordWith(2025, 11, lastMonth, { { kMortgage, 296562.0 } });
    const auto pastYear = recordWith(2024, 12, lastYear, { { kMortgage, 318906.0 } });
    m_model->nwLogArray()->append(current);
    StatementContent content = newestContent();
    content.pastMonthRecord = pastMonth.get();
    content.pastYearRecord = pastYear.get();

    // Every height a row can end at against the footer, and the paper of the reports.
    QList<QSizeF> pages { reportPage() };
    for (int height = 700; height < 700 + 14; ++height)
        pages.append(QSizeF(576, height));
    for (const QSizeF& pageSize : pages) {
        SCOPED_TRACE(pageSize.height());
        const PrintLayout layout = layOutStatement(content, pageSize);
        ASSERT_GE(layout.pageCount(), 3);
        // At least 4 points of paper between the footer's ink and the ink of the rows above.
        const qreal strip = 60;
        for (int page = 0; page < layout.pageCount(); ++page) {
            const auto bands = inkBands(layout, page, pageSize.height() - strip, pageSize.height(), 0);
            ASSERT_FALSE(bands.isEmpty()) << "page " << page;
            const qreal gap = bands.last().first - (bands.size() > 1 ? bands.at(bands.size() - 2).second : 0);
            EXPECT_GE(gap, 4.0) << "page " << page;
        }

        // Between the two lines of the changes: each block's heading and its three lines, each
        // with at least 3 points of paper above and below its ink.
        ASSERT_GE(layout.lines().size(), 2);
        const qreal top = layout.lines().at(0).line.y1() + 1;
        const qreal bottom = layout.lines().at(1).line.y1() - 1;
        const auto bands = inkBands(layout, 0, top, bottom, 40);
        EXPECT_EQ(bands.size(), 8) << "the lines of the changes touch";
        for (qsizetype i = 1; i < bands.size(); ++i)
            EXPECT_GE(bands.at(i).first - bands.at(i - 1).second, 3.0) << "line " << i;
    }
}

TEST_F(StatementPrintTest, ValuesOfARemovedCategoryArePrintedUnderAnUnknownName)
{
    m_model->nwLogArray()->append(recordWith(
        2024, 3, { { kHouse, 200000.0 }, { u"gone"_s, 50000.0 } }, { { u"gone-too"_s, 12345.0 } }));
    const QString pdf = pdfPath(u"unknown.pdf"_s);
    printStatement(pdf);
    const QString text = PrintedPdf(pdf).text();
    EXPECT_TRUE(text.contains(u"(unknown category) $50,000 20.0%"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"(unknown category) $12,345 100.0%"_s));
    EXPECT_TRUE(text.contains(u"House $200,000 80.0%"_s));
}

TEST_F(StatementPrintTest, ALongAssetNameIsCutWithoutEllipsisAndNeverInsideACharacter)
{
    const QFont font = reporttext::font(12);
    // Twice as wide as the column: half its characters stay.
    QString wide = u"Mm"_s;
    while (reporttext::width(wide, font) < 400)
        wide += u"Mm"_s;
    const QString cut = reporttext::cutToWidth(wide, font, 200);
    EXPECT_TRUE(wide.startsWith(cut));
    EXPECT_NEAR(cut.size(), wide.size() / 2, 2);
    EXPECT_FALSE(cut.endsWith(u"..."_s));
    EXPECT_EQ(reporttext::cutToWidth(u"House"_s, font, 200), u"House"_s);

    // Characters outside the basic plane are pairs of UTF-16 units: a cut between the two
    // would leave half a character. Every cut position keeps whole pairs.
    const QString pairs = u"\U0001F3E0\U0001F697\U0001F4B0"_s.repeated(20);
    for (qsizetype count = 0; count <= pairs.size(); ++count) {
        const QString head = reporttext::prefix(pairs, count);
        EXPECT_EQ(head.size() % 2, 0) << count;
        EXPECT_TRUE(pairs.startsWith(head));
    }
    const QString emojiCut = reporttext::cutToWidth(u"x"_s + pairs, font, 200);
    ASSERT_FALSE(emojiCut.isEmpty());
    EXPECT_FALSE(emojiCut.back().isHighSurrogate());

    // A liability name of the same width is drawn whole.
    m_model->setAssetscat(MVX_CategoryList { category(kHouse, wide) });
    m_model->setLiabilitycat(MVX_CategoryList { category(kMortgage, wide) });
    m_model->nwLogArray()->append(recordWith(2024, 3, { { kHouse, 1.0 } }, { { kMortgage, 1.0 } }));
    const PrintLayout layout = layOutStatement(newestContent(), QSizeF(576, 722));
    EXPECT_EQ(layout.texts().first().text, u"NET WORTH STATEMENT -  MARCH 2024"_s);
    EXPECT_TRUE(std::any_of(layout.texts().begin(), layout.texts().end(),
        [&](const PrintLayout::Text& text) { return text.text == cut && text.rect.x() == 40; }));
    EXPECT_TRUE(std::any_of(layout.texts().begin(), layout.texts().end(),
        [&](const PrintLayout::Text& text) { return text.text == wide && text.rect.x() == 40; }));
}

TEST_F(StatementPrintTest, TheChosenMonthAndYearStayWithinWhatADateHolds)
{
    // Read by the statement view through the report choices, whose month and year stay
    // within 0..12 and 0..9999.
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(ReportChoiceSettings::selectedMonthKey, 1e300);
    defaults.setValue(ReportChoiceSettings::selectedYearKey, qint64(std::numeric_limits<int>::min()) - 1);
    EXPECT_EQ(printStatement(pdfPath(u"high-month.pdf"_s))->chosenMonthYear(),
        (std::pair { ReportChoiceSettings::mostMonth, 0 }));
    defaults.setValue(ReportChoiceSettings::selectedMonthKey, std::numeric_limits<double>::quiet_NaN());
    defaults.setValue(ReportChoiceSettings::selectedYearKey, qint64(std::numeric_limits<int>::max()) + 1);
    EXPECT_EQ(printStatement(pdfPath(u"high-year.pdf"_s))->chosenMonthYear(),
        (std::pair { 0, ReportChoiceSettings::mostYear }));
}

TEST_F(StatementPrintTest, TheWidestAmountsKeepTheirSignAndFirstDigitsAndNoColumnPrintsOverAnother)
{
    constexpr double most = std::numeric_limits<double>::max();
    // Totals, changes, values and shares of either sign at 1e20 and at the largest double.
    const auto current
        = recordWith(2024, 12, { { kHouse, most }, { kSavings, -1e20 } }, { { kMortgage, 1e20 } });
    const auto pastMonth = recordWith(2024, 11, { { kHouse, 1e20 } }, { { kMortgage, most } });
    const auto pastYear = recordWith(2023, 12, { { kHouse, -1e20 } }, { { kMortgage, 0.0 } });
    m_model->nwLogArray()->append(current);
    StatementContent content = newestContent();
    content.pastMonthRecord = pastMonth.get();
    content.pastYearRecord = pastYear.get();
    QStringList amounts;
    for (const double value : { most, -most, 1e20, -1e20 })
        amounts << reporttext::amount(value);
    for (const double ratio : { most / 1e20, -most / 1e20 })
        amounts << reporttext::percent(ratio);

    const PrintLayout layout = layOutStatement(content, reportPage());
    EXPECT_EQ(overprintedTexts(layout).join(u'\n').toStdString(), "");

    const QString pdf = pdfPath(u"widest.pdf"_s);
    auto printer = reportPrinter(pdf);
    printer->setPageOrientation(QPageLayout::Portrait);
    ASSERT_TRUE(PagePainter::paint(*printer, layout, QDateTime(QDate(2026, 12, 7), QTime(9, 41))));
    const QList<PrintedPdf::Word> words = PrintedPdf(pdf).words();
    EXPECT_EQ(overprintedWords(words).join(u'\n').toStdString(), "");
    EXPECT_EQ(amountsWithoutTheirStart(words, amounts).join(u'\n').toStdString(), "");
    // The net worth's change since November is beyond what a number holds (the amounts are
    // beyond the model's rules): no figure, rather than one that reads as none.
    for (const PrintLayout::Text& text : layout.texts())
        EXPECT_FALSE(readsAsNoNumber(text.text)) << text.text.toStdString();
    for (const PrintedPdf::Word& word : words)
        EXPECT_FALSE(readsAsNoNumber(word.text)) << word.text.toStdString();

    // A change against a net worth too small for its share (the least double above 0) is shown
    // with the share of a change from nothing.
    const auto rich = recordWith(2024, 12, { { kHouse, 1e20 } });
    const auto little = recordWith(2023, 12, { { kHouse, std::numeric_limits<double>::denorm_min() } });
    content.record = rich.get();
    content.pastMonthRecord = nullptr;
    content.pastYearRecord = little.get();
    const PrintLayout fromLittle = layOutStatement(content, reportPage());
    QStringList shares;
    for (const PrintLayout::Text& text : fromLittle.texts()) {
        EXPECT_FALSE(readsAsNoNumber(text.text)) << text.text.toStdString();
        if (text.text.endsWith(u'%'))
            shares.append(text.text);
    }
    // Net worth and assets from almost nothing, liabilities from nothing; then House's share.
    EXPECT_EQ(shares, (QStringList { u"0.0%"_s, u"0.0%"_s, u"0.0%"_s, u"100.0%"_s }));
}

TEST_F(StatementPrintTest, EveryTextReadsOnWhitePaperInTheHuesOfTheStatement)
{
    addMonths(2024, 5, 13);
    StatementContent content = newestContent();
    content.pastMonthRecord = m_model->nwLogArray()->at(1).get();
    content.pastYearRecord = m_model->nwLogArray()->at(12).get();
    content.name = u"Alex Doe"_s;
    const PrintLayout layout = layOutStatement(content, QSizeF(576, 722));
    // Net worth blue, the totals' green and red, the values' green and pink.
    const QColor hues[] = { QColor::fromRgbF(0.28f, 0.6f, 0.77f), QColor::fromRgbF(0.44f, 0.75f, 0.26f),
        QColor::fromRgbF(0.8f, 0.15f, 0.19f), QColor::fromRgbF(0.58f, 0.84f, 0.39f),
        QColor::fromRgbF(0.99f, 0.35f, 0.51f) };
    const QColor paper(Qt::white);
    int amounts = 0;
    for (const PrintLayout::Text& text : layout.texts()) {
        // Text of 18 points and more reads from 3:1 (the report sizes its fonts a pixel a point).
        const qreal points = text.font.pointSizeF() > 0 ? text.font.pointSizeF() : text.font.pixelSize();
        ASSERT_GT(points, 0);
        const double needed = points >= 18 ? 3.0 : 4.5;
        EXPECT_GE(contrast(text.color, paper), needed)
            << text.text.toStdString() << " in " << text.color.name().toStdString();
        if (text.color.hslSaturationF() < 0.05)
            continue;
        ++amounts;
        EXPECT_TRUE(std::any_of(std::begin(hues), std::end(hues),
            [&](const QColor& hue) { return std::abs(text.color.hslHueF() - hue.hslHueF()) < 0.01; }))
            << text.text.toStdString() << " in " << text.color.name().toStdString();
    }
    // Three totals and the value and share of each of the three categories.
    EXPECT_EQ(amounts, 3 + 3 * 2);
}

} // namespace
