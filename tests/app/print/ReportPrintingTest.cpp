#include "app/print/ReportPrinting.h"
#include "app/AppNotifications.h"
#include "app/shell/ScreenProvider.h"
#include "charts/common/ChartToolButton.h"
#include "charts/common/PrintSession.h"
#include "charts/compare/CompareStatistics.h"
#include "charts/history/line/LineChartViewController.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/common/PieChartSettings.h"
#include "model/dates/DateUtilities.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"
#include "reports/choice/ReportChoiceController.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "support/Contrast.h"
#include "support/Eventually.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
namespace keys = ReportChoiceSettings;

namespace {

QString pdfText(const QString& path)
{
    QProcess process;
    process.start(u"pdftotext"_s, { u"-layout"_s, path, u"-"_s });
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// pdfinfo's "Page size: 612 x 792 pts (letter)" of the first page.
QSizeF pdfPageSize(const QString& path)
{
    QProcess process;
    process.start(u"pdfinfo"_s, { path });
    process.waitForFinished(30000);
    const QRegularExpressionMatch match = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s)
                                              .match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

struct PrintedWord {
    QRectF box; // in points from the page's top left
    QString text;
};

// Every word of the first page with its box (pdftotext -bbox).
QList<PrintedWord> firstPageWords(const QString& path)
{
    QProcess process;
    process.start(u"pdftotext"_s, { u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-bbox"_s, path, u"-"_s });
    process.waitForFinished(30000);
    const QRegularExpression word(
        u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"_s);
    QList<PrintedWord> words;
    for (auto it = word.globalMatch(QString::fromUtf8(process.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.append({ QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
            m.captured(5) });
    }
    return words;
}

// The first page as poppler draws it, without smoothing, so that a glyph's pixels are its colour.
QImage firstPagePicture(const QString& path, int dpi)
{
    QProcess process;
    process.start(u"pdftoppm"_s,
        { u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-r"_s, QString::number(dpi), u"-aa"_s, u"no"_s, u"-aaVector"_s,
            u"no"_s, u"-png"_s, path });
    process.waitForFinished(30000);
    return QImage::fromData(process.readAllStandardOutput(), "PNG");
}

/// A household of fifteen records, newest first, with a gap: no June 2024.
class ReportPrintingTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setAssetscat(
            MVX_CategoryList { category(u"A-HOME"_s, u"House"_s), category(u"A-SAVE"_s, u"Savings"_s) });
        model->setLiabilitycat(MVX_CategoryList { category(u"L-MORT"_s, u"Mortgage"_s) });
        auto home = std::make_shared<MVX_Tags>();
        home->setID(u"T-HOME"_s);
        home->setName(u"Home"_s);
        home->setHexColorString(u"BLUE"_s);
        model->setTags(MVX_TagsList { home });
        model->assetscat()->first()->setTags(QStringList { u"T-HOME"_s });
        MVX_NWLogList records;
        for (int back = 0; back < 16; ++back) {
            const QDate month = QDate(2024, 12, 1).addMonths(-back);
            if (month == QDate(2024, 6, 1))
                continue;
            records << recordWith(month.year(), month.month(),
                { { u"A-HOME"_s, 300000.0 + 1000 * (16 - back) }, { u"A-SAVE"_s, 20000.0 } },
                { { u"L-MORT"_s, 150000.0 - 500 * (16 - back) } });
            records.last()->setTS(DateUtilities::dayNumber(month.year(), month.month()));
            // Each value knows its month, as the editor saves it.
            for (const auto& logs : { *records.last()->assetLogs(), *records.last()->liabilityLogs() }) {
                for (const auto& log : logs) {
                    log->setYear(month.year());
                    log->setMonth(month.month());
                }
            }
        }
        model->setNwLogArray(records);
        loadAsAtStart(*model);
        pdf = dir.filePath(u"report.pdf"_s);
    }
    void TearDown() override
    {
        PrintSession::setNextOutputFile({});
        printing.reset();
        SharedStoreTest::TearDown();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    const MVX_NWLogList& records() const { return *store().appData()->nwLogArray(); }

    /// The next print goes to `pdf`; `panelShown` tells whether it came that far.
    void expectPrintToFile()
    {
        PrintSession::setNextOutputFile(pdf, [this](QPrinter& printer) {
            panelShown = true;
            layoutAtPanel = printer.pageLayout();
        });
    }
    /// Prints `kind` at once and gives the PDF's text (empty when nothing was printed).
    QString printNow(int kind)
    {
        expectPrintToFile();
        printing->printTheSelectedReport(kind);
        return QFile::exists(pdf) ? pdfText(pdf) : QString();
    }

    QTemporaryDir dir;
    QString pdf;
    QStringList messages;
    bool panelShown = false;
    QPageLayout layoutAtPanel;
    std::unique_ptr<ReportPrinting> printing = std::make_unique<ReportPrinting>(*NWData::shared(),
        ReportPrinting::Host { .window = [] { return nullptr; },
            .showMessage = [this](const QString& text) { messages << text; } });
};

TEST_F(ReportPrintingTest, TheNotificationPrintsOnALaterTurnOnTheReportPage)
{
    defaults().setValue(keys::selectedMonthKey, 12);
    defaults().setValue(keys::selectedYearKey, 2024);
    expectPrintToFile();
    printing->printNotificationHandler({ notifications::print, 0, {} });
    EXPECT_FALSE(panelShown) << "printed while the choice was still closing";
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EVENTUALLY(panelShown && QFile::exists(pdf) && QFile(pdf).size() > 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(pdfText(pdf).contains(u"DECEMBER 2024"_s));
    EXPECT_TRUE(pdfText(pdf).contains(u"Page 1 of"_s));

    EXPECT_EQ(layoutAtPanel.orientation(), QPageLayout::Portrait);
    const QMarginsF margins = layoutAtPanel.margins(QPageLayout::Point);
    EXPECT_NEAR(margins.top(), 30, 0.5);
    EXPECT_NEAR(margins.bottom(), 40, 0.5);
    EXPECT_NEAR(margins.left(), 18, 0.5);
    EXPECT_NEAR(margins.right(), 18, 0.5);
    EXPECT_TRUE(layoutAtPanel.pageSize().isEquivalentTo(PrintSession::defaultPaper(QLocale())))
        << layoutAtPanel.pageSize().name().toStdString();
}

TEST_F(ReportPrintingTest, EveryPrintoutStartsFromTheSharedPaper)
{
    const QPageSize paper = PrintSession::defaultPaper(QLocale());
    ASSERT_TRUE(paper.isValid());
    EXPECT_TRUE(PrintSession::printer().pageLayout().pageSize().isEquivalentTo(paper))
        << PrintSession::printer().pageLayout().pageSize().name().toStdString();
    const QSizeF portrait = paper.size(QPageSize::Point);
    const QSizeF landscape = portrait.transposed();

    LineChartViewController history;
    BigPieChartViewController pies;
    for (QWidget* screen : { static_cast<QWidget*>(&history), static_cast<QWidget*>(&pies) }) {
        screen->resize(1000, 600);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
    }
    history.refreshView();
    QToolButton* historyPrint = nullptr;
    for (QToolButton* button : history.findChildren<QToolButton*>()) {
        if (button->toolTip() == u"Print chart"_s)
            historyPrint = button;
    }
    ASSERT_TRUE(historyPrint);
    keys::setAssetCategory(u"A-HOME"_s);
    defaults().setValue(keys::selectedMonthKey, 12);
    defaults().setValue(keys::selectedYearKey, 2024);
    defaults().setValue(keys::fromMonthKey, 12);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 1);
    defaults().setValue(keys::toYearKey, 2024);

    // Prints to the PDF and gives its page size in points.
    const auto printedPage = [this](const std::function<void()>& print) {
        QFile::remove(pdf);
        expectPrintToFile();
        print();
        return pdfPageSize(pdf);
    };
    const auto expectPage = [](const QSizeF& printed, const QSizeF& expected) {
        EXPECT_NEAR(printed.width(), expected.width(), 0.5);
        EXPECT_NEAR(printed.height(), expected.height(), 0.5);
    };
    // The charts keep their own orientation, the reports are portrait; the paper is the same.
    struct Printout {
        const char* what;
        std::function<void()> print;
        QSizeF page;
    };
    const QList<Printout> printouts {
        { "history chart", [&] { historyPrint->click(); }, landscape },
        { "pie", [&] { pies.printChart(BigPieChartViewController::PieKind::Assets); }, portrait },
        { "statement", [&] { printing->printTheSelectedReport(0); }, portrait },
        { "assets report", [&] { printing->printTheSelectedReport(1); }, portrait },
        { "history chart again", [&] { historyPrint->click(); }, landscape },
    };
    for (const Printout& printout : printouts) {
        SCOPED_TRACE(printout.what);
        expectPage(printedPage(printout.print), printout.page);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();

    // A paper chosen in the panel is the shared one from then on, for the charts too.
    PrintSession::setNextOutputFile(
        pdf, [](QPrinter& printer) { printer.setPageSize(QPageSize(QPageSize::A5)); });
    printing->printTheSelectedReport(0);
    const QSizeF a5 = QPageSize(QPageSize::A5).size(QPageSize::Point);
    expectPage(printedPage([&] { pies.printChart(BigPieChartViewController::PieKind::NetWorth); }), a5);
    expectPage(printedPage([&] { historyPrint->click(); }), a5.transposed());
}

// The real print panel: the statement is printed to a file through it, then what its file
// field offers for each further printout, cancelled once it shows: every report, and every
// chart of every screen through its own print button.
TEST_F(ReportPrintingTest, EachPrintoutOffersItsOwnFileName)
{
    keys::setAssetCategory(u"A-HOME"_s);
    keys::setLiabilityCategory(u"L-MORT"_s);
    keys::setTagIDs({ u"T-HOME"_s });
    defaults().setValue(keys::selectedMonthKey, 12);
    defaults().setValue(keys::selectedYearKey, 2024);
    // The dashboard's pie then shows what one of the Pie Chart screen's pies shows.
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    const QString statement = dir.filePath(u"Net worth statement report.pdf"_s);

    bool statementPrinted = false;
    QStringList offered;
    QObject context;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, &context, [&] {
        auto* panel = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!panel || !panel->isVisible())
            return;
        auto* field = panel->findChild<QLineEdit*>(u"filename"_s);
        // Disabled when the panel chose a real printer: nothing is printed then.
        if (!field || !field->isEnabled()) {
            offered << u"(no file to print to)"_s;
            panel->reject();
        } else if (!statementPrinted) {
            statementPrinted = true;
            field->setText(statement);
            panel->accept();
        } else {
            offered << QFileInfo(field->text()).completeBaseName();
            EXPECT_EQ(QFileInfo(field->text()).absolutePath(), dir.path());
            panel->reject();
        }
    });
    answer.start();
    for (int kind : { 0, 1, 2, 3, 0 })
        printing->printTheSelectedReport(kind);
    // Each screen as the window places it, each of its print buttons pressed once.
    ScreenProvider provider;
    for (const AppScreenInfo& info : appScreens) {
        std::unique_ptr<QWidget> screen(provider.createScreen(info.screen));
        screen->resize(1200, 800);
        provider.compareWithNetWorth(screen.get(), 175000);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        provider.screenPlaced(info.screen, screen.get());
        QCoreApplication::processEvents();
        const qsizetype before = offered.size();
        qsizetype buttons = 0;
        for (QToolButton* button : screen->findChildren<QToolButton*>()) {
            if (button->text() == QString(QChar(ChartToolButton::printGlyph))) {
                ++buttons;
                button->click();
            }
        }
        EXPECT_EQ(offered.size() - before, buttons) << info.className << ": a print button showed no panel";
        std::sort(offered.begin() + before, offered.end());
    }
    {
        // A history chart is named by its settings already before its first refresh.
        LineChartViewController unrefreshed;
        unrefreshed.setPrintNamePattern(u"Not refreshed - %1"_s);
        for (QToolButton* button : unrefreshed.findChildren<QToolButton*>()) {
            if (button->text() == QString(QChar(ChartToolButton::printGlyph)))
                button->click();
        }
    }
    answer.stop();
    PrintSession::printer().setOutputFileName({});
    PrintSession::printer().setOutputFormat(QPrinter::NativeFormat);

    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(pdfText(statement).contains(u"DECEMBER 2024"_s));
    // The reports, then each screen's charts by name.
    QStringList expected { u"Assets report"_s, u"Liability report"_s, u"Tags report"_s,
        u"Net worth statement report"_s, u"Dashboard - Asset Categories"_s,
        u"Dashboard - Net Worth History"_s, u"Dashboard - Year-End Bars"_s, u"Net Worth History"_s,
        u"Asset Categories"_s, u"Liability Categories"_s, u"Net Worth"_s, u"Annual Chart"_s };
    QStringList comparisons;
    for (const CompareStatistics::Chart& chart : CompareStatistics::charts())
        comparisons << platform::localized(chart.title);
    comparisons.sort();
    comparisons << u"Not refreshed - Net Worth History"_s;
    EXPECT_EQ(offered.join(u'\n').toStdString(), (expected + comparisons).join(u'\n').toStdString());
    EXPECT_EQ(QSet<QString>(offered.begin(), offered.end()).size(), offered.size())
        << "two printouts, one file";
}

TEST_F(ReportPrintingTest, TheNotificationsKindChoosesTheReport)
{
    defaults().setValue(keys::fromMonthKey, 12);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 10);
    defaults().setValue(keys::toYearKey, 2024);
    keys::setAssetCategory(u"A-SAVE"_s);
    expectPrintToFile();
    printing->printNotificationHandler({ notifications::print, 1, {} });
    EXPECT_EVENTUALLY(QFile::exists(pdf) && QFile(pdf).size() > 0);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(u"Assets report"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Category: Savings"_s));
}

TEST_F(ReportPrintingTest, AMonthWithoutARecordPrintsNothingAndSaysSo)
{
    defaults().setValue(keys::selectedMonthKey, 6);
    defaults().setValue(keys::selectedYearKey, 2024);
    EXPECT_TRUE(printNow(0).isEmpty());
    EXPECT_FALSE(panelShown);
    EXPECT_EQ(messages, QStringList { u"There is no record for June 2024 to print."_s });

    messages.clear();
    store().appData()->setNwLogArray(MVX_NWLogList());
    defaults().remove(keys::selectedMonthKey);
    EXPECT_TRUE(printNow(0).isEmpty());
    EXPECT_FALSE(panelShown);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(u"There is no record to print"_s));
}

TEST_F(ReportPrintingTest, WithoutAChosenMonthTheStatementIsOfTheNewestRecord)
{
    defaults().remove(keys::selectedMonthKey);
    defaults().remove(keys::selectedYearKey);
    const QString text = printNow(0);
    EXPECT_TRUE(panelShown);
    EXPECT_TRUE(text.contains(u"DECEMBER 2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"November 2024"_s)) << text.toStdString(); // the month compared with
    // The oldest record, September 2023, is no statement's month here.
    EXPECT_FALSE(text.contains(u"SEPTEMBER 2023"_s));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST_F(ReportPrintingTest, APrintThatCannotBeWrittenIsReported)
{
    // The statement and a table report, each to a file no printer can write.
    keys::setAssetCategory(u"A-SAVE"_s);
    defaults().setValue(keys::fromMonthKey, 10);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 12);
    defaults().setValue(keys::toYearKey, 2024);
    pdf = dir.filePath(u"no such folder/report.pdf"_s);
    for (const int kind : { 0, 1 }) {
        SCOPED_TRACE(kind);
        messages.clear();
        panelShown = false;
        EXPECT_TRUE(printNow(kind).isEmpty());
        EXPECT_TRUE(panelShown);
        EXPECT_EQ(messages, QStringList { u"The report could not be printed."_s });
    }
}

TEST_F(ReportPrintingTest, APeriodStoredBackwardsPrintsInOrderWithFullYears)
{
    defaults().setValue(keys::fromMonthKey, 9);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 11);
    defaults().setValue(keys::toYearKey, 2024);
    keys::setLiabilityCategory(u"L-MORT"_s);
    const QString text = printNow(2);
    EXPECT_TRUE(text.contains(u"Nov 2024 - Sep 2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"November 2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"October 2024"_s));
    EXPECT_TRUE(text.contains(u"September 2024"_s));
    EXPECT_FALSE(text.contains(u"August 2024"_s));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReportPrintingTest, AMissingChoicePrintsNothingAndSaysWhy)
{
    struct Case {
        const char* what;
        int kind;
        std::function<void()> prepare;
        QString message;
    };
    const QList<Case> cases {
        { "asset key absent", 1, [] { defaults().remove(keys::assetCategoryKey); }, u"No asset category"_s },
        { "asset category deleted", 1, [] { keys::setAssetCategory(u"A-GONE"_s); }, u"No asset category"_s },
        { "liability category deleted", 2, [] { keys::setLiabilityCategory(u"L-GONE"_s); },
            u"No liability category"_s },
        { "no asset categories", 1,
            [this] {
                keys::setAssetCategory(u"A-HOME"_s);
                store().appData()->setAssetscat(MVX_CategoryList());
            },
            u"There is no asset category"_s },
        { "no tag", 3, [] { keys::setTagIDs({}); }, u"No tag is chosen"_s },
        { "tags deleted", 3, [] { keys::setTagIDs({ u"T-GONE"_s }); }, u"No tag is chosen"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        panelShown = false;
        c.prepare();
        EXPECT_TRUE(printNow(c.kind).isEmpty());
        EXPECT_FALSE(panelShown);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.first().startsWith(c.message)) << messages.first().toStdString();
    }
}

TEST_F(ReportPrintingTest, TheTagsReportNamesItsTags)
{
    keys::setTagIDs({ u"T-HOME"_s, u"T-GONE"_s });
    defaults().setValue(keys::fromMonthKey, 12);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 12);
    defaults().setValue(keys::toYearKey, 2024);
    const QString text = printNow(3);
    EXPECT_TRUE(text.contains(u"Tags report"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Selected tags: (Home)"_s));
    EXPECT_TRUE(text.contains(u"December 2024"_s));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReportPrintingTest, EveryTextOfTheTableReportsReadsOnWhitePaper)
{
    keys::setAssetCategory(u"A-HOME"_s);
    keys::setLiabilityCategory(u"L-MORT"_s);
    keys::setTagIDs({ u"T-HOME"_s });
    defaults().setValue(keys::fromMonthKey, 12);
    defaults().setValue(keys::fromYearKey, 2024);
    defaults().setValue(keys::toMonthKey, 1);
    defaults().setValue(keys::toYearKey, 2024);
    constexpr int dpi = 144;
    const QColor paper(Qt::white);
    for (const int kind : { 1, 2, 3 }) {
        SCOPED_TRACE(kind);
        QFile::remove(pdf);
        printNow(kind);
        const QImage page = firstPagePicture(pdf, dpi);
        ASSERT_FALSE(page.isNull());
        int measured = 0, large = 0;
        for (const PrintedWord& word : firstPageWords(pdf)) {
            const QRect pixels = QRectF(word.box.topLeft() * dpi / 72, word.box.bottomRight() * dpi / 72)
                                     .toAlignedRect()
                                     .intersected(page.rect());
            // The word's colour: the most frequent one in its box besides the paper's.
            QHash<QRgb, int> counts;
            for (int y = pixels.top(); y <= pixels.bottom(); ++y)
                for (int x = pixels.left(); x <= pixels.right(); ++x)
                    if (page.pixel(x, y) != paper.rgb())
                        ++counts[page.pixel(x, y)];
            ASSERT_FALSE(counts.isEmpty()) << word.text.toStdString();
            QRgb color = counts.begin().key();
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                if (it.value() > counts.value(color))
                    color = it.key();
            // A line of 18 points and more (the title's) is 20 points tall and reads from 3:1.
            const bool isLarge = word.box.height() >= 20;
            large += isLarge;
            ++measured;
            EXPECT_GE(contrast(QColor(color), paper), isLarge ? 3.0 : 4.5)
                << word.text.toStdString() << " in " << QColor(color).name().toStdString();
        }
        // The title's two words, and the period, subtitle, column titles, twelve rows and footer.
        EXPECT_EQ(large, 2);
        EXPECT_GT(measured, 12 * 4);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST_F(ReportPrintingTest, PreviousRecordsArePositionalAcrossGaps)
{
    ASSERT_EQ(records().size(), 15);
    const MVX_NWLog* newest = records().first().get();
    EXPECT_EQ(ReportPrinting::getPreviousLog(store(), newest, 1), records().at(1).get());
    // With June missing, twelve places back is November 2023, not December.
    const MVX_NWLog* yearBack = ReportPrinting::getPreviousLog(store(), newest, 12);
    ASSERT_TRUE(yearBack);
    EXPECT_EQ(yearBack, records().at(12).get());
    EXPECT_EQ(yearBack->month(), 11);
    EXPECT_EQ(yearBack->year(), 2023);
    EXPECT_EQ(ReportPrinting::getPreviousLog(store(), records().at(2).get(), 12), records().at(14).get());
    EXPECT_EQ(ReportPrinting::getPreviousLog(store(), records().at(3).get(), 12), nullptr);
    EXPECT_EQ(ReportPrinting::getPreviousLog(store(), records().last().get(), 1), nullptr);
    const auto stranger = recordWithTotals(2024, 12, 1, 1);
    EXPECT_EQ(ReportPrinting::getPreviousLog(store(), stranger.get(), 1), nullptr);
}

TEST_F(ReportPrintingTest, ThePrintButtonTogglesTheChoiceWhichEscapeDoesNotClose)
{
    QWidget window;
    window.resize(800, 600);
    auto* button = new QPushButton(u"Print"_s, &window);
    button->setGeometry(700, 10, 30, 23);
    window.show();
    printing->printAction(button);
    PKPopoverController* shown = printing->reportSelection();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->shown());
    EXPECT_TRUE(qobject_cast<ReportChoiceController*>(shown->contentViewController()));
    EXPECT_FALSE(shown->closesWhenEscapeKeyPressed());
    printing->printAction(button);
    EXPECT_EQ(printing->reportSelection(), nullptr);
    // Opened anew at the next press.
    printing->printAction(button);
    ASSERT_TRUE(printing->reportSelection());
    EXPECT_TRUE(printing->reportSelection()->shown());
}

} // namespace
