#include "charts/common/NWPrintViewController.h"
#include "charts/common/PrintSession.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kChartColor(255, 0, 255);
const QColor kFrameColor(0, 200, 200);

// What every chart screen passes.
constexpr int kTop = 40, kBottom = 200, kLeft = 10, kRight = 10;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// "Page size: 612 x 792 pts (letter)" read back by pdfinfo.
QSizeF pdfPageSize(const QString& pdf)
{
    const QRegularExpressionMatch match
        = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s).match(run(u"pdfinfo"_s, { pdf }));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

QImage rasterise(const QString& pdf)
{
    const QString prefix = pdf + u"-page"_s;
    run(u"pdftoppm"_s, { u"-r"_s, u"72"_s, u"-png"_s, u"-singlefile"_s, pdf, prefix });
    return QImage(prefix + u".png"_s);
}

bool isColor(QRgb pixel, const QColor& color)
{
    return std::abs(qRed(pixel) - color.red()) < 40 && std::abs(qGreen(pixel) - color.green()) < 40
        && std::abs(qBlue(pixel) - color.blue()) < 40;
}

class ChartPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        host = std::make_unique<chart::GraphHostingView>();
        host->resize(500, 320);
        auto* graph = new chart::Graph;
        graph->setFill(chart::Fill(kChartColor));
        graph->setPlotAreaFrameFill(chart::Fill(kFrameColor));
        graph->setAxisSet(nullptr);
        host->setHostedGraph(graph);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        // The shared paper, as the printer or the locale gives it, portrait.
        paper = PrintSession::printer().pageLayout().pageSize().size(QPageSize::Point);
        ASSERT_FALSE(paper.isEmpty());
    }

    // The page inside the margins, portrait or landscape.
    QRectF printable(bool landscape) const
    {
        const QSizeF page = landscape ? paper.transposed() : paper;
        return QRectF(0, 0, page.width() - kLeft - kRight, page.height() - kTop - kBottom);
    }
    static void expectPage(const QSizeF& printed, const QSizeF& expected)
    {
        EXPECT_NEAR(printed.width(), expected.width(), 0.5);
        EXPECT_NEAR(printed.height(), expected.height(), 0.5);
    }

    QString print(const QString& name, bool landscape)
    {
        const QString pdf = dir.filePath(name);
        PrintSession::setNextOutputFile(pdf);
        NWPrintViewController::GenericPrint(host.get(), kTop, kBottom, kLeft, kRight, landscape, u"Chart"_s);
        return pdf;
    }

    QTemporaryDir dir;
    std::unique_ptr<chart::GraphHostingView> host;
    QSizeF paper;
};

TEST_F(ChartPrintTest, PrintRectangleIsThePaperInsideTheMargins)
{
    const QString pdf = print(u"portrait.pdf"_s, false);
    EXPECT_EQ(host->printRect(), printable(false));
    expectPage(pdfPageSize(pdf), paper);
    // Printing lays the graph out at the page's size for the job only.
    EXPECT_EQ(host->hostedGraph()->bounds().size(), QSizeF(500, 320));
}

TEST_F(ChartPrintTest, EachCallUsesItsOwnOrientation)
{
    const QString landscape = print(u"landscape.pdf"_s, true);
    EXPECT_EQ(host->printRect(), printable(true));
    const QString portrait = print(u"portrait.pdf"_s, false);
    expectPage(pdfPageSize(landscape), paper.transposed());
    expectPage(pdfPageSize(portrait), paper);
}

TEST_F(ChartPrintTest, APageChangedInThePanelIsTheOneLaidOut)
{
    const QString pdf = dir.filePath(u"turned.pdf"_s);
    PrintSession::setNextOutputFile(
        pdf, [](QPrinter& printer) { printer.setPageOrientation(QPageLayout::Portrait); });
    NWPrintViewController::GenericPrint(host.get(), kTop, kBottom, kLeft, kRight, true, u"Chart"_s);
    expectPage(pdfPageSize(pdf), paper);
    EXPECT_EQ(host->printRect(), printable(false));
}

TEST_F(ChartPrintTest, ChartIsLaidOutOnThePrintableRectangleOnly)
{
    const QImage page = rasterise(print(u"chart.pdf"_s, false));
    ASSERT_NEAR(page.width(), paper.width(), 1);
    ASSERT_NEAR(page.height(), paper.height(), 1);
    // Every pixel the printable area touches, on a paper whose size is not whole points too.
    const QRect area = printable(false).translated(kLeft, kTop).toAlignedRect();
    int outsideHits = 0, insideMisses = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            // The chart is a picture on the page, smoothed where its colours meet.
            const bool chart = !isColor(page.pixel(x, y), Qt::white);
            // The reader spreads a picture over every pixel it touches: one more at the edge.
            if (chart && !area.adjusted(0, 0, 1, 1).contains(x, y))
                ++outsideHits;
            // One pixel of the edge may be smoothed.
            if (!chart && area.adjusted(1, 1, -1, -1).contains(x, y))
                ++insideMisses;
        }
    }
    EXPECT_EQ(outsideHits, 0);
    EXPECT_EQ(insideMisses, 0);
    // Laid out at the printed size, the plot-area frame keeps the graph's 20-point paddings;
    // a picture of the on-screen graph stretched to the page would not.
    const QRect frame = area.adjusted(20, 20, -20, -20);
    EXPECT_TRUE(isColor(page.pixel(frame.topLeft() + QPoint(1, 1)), kFrameColor));
    EXPECT_TRUE(isColor(page.pixel(frame.topLeft() - QPoint(2, 2)), kChartColor));
    EXPECT_TRUE(isColor(page.pixel(frame.bottomRight() - QPoint(1, 1)), kFrameColor));
    EXPECT_TRUE(isColor(page.pixel(frame.bottomRight() + QPoint(2, 2)), kChartColor));
}

TEST_F(ChartPrintTest, HostWithoutAGraphPrintsNothing)
{
    chart::GraphHostingView empty;
    const QString pdf = dir.filePath(u"empty.pdf"_s);
    PrintSession::setNextOutputFile(pdf);
    NWPrintViewController::GenericPrint(&empty, kTop, kBottom, kLeft, kRight, false, u"Chart"_s);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(empty.printRect().isEmpty());
    PrintSession::setNextOutputFile({});
}

TEST_F(ChartPrintTest, AChartThatGoesWhileThePanelIsUpPrintsNothing)
{
    // The screen may be torn down while the print panel runs its event loop.
    chart::GraphHostingView* going = host.release();
    QTimer::singleShot(0, going, &QObject::deleteLater);
    const QString pdf = dir.filePath(u"gone.pdf"_s);
    PrintSession::setNextOutputFile(pdf);
    NWPrintViewController::GenericPrint(going, kTop, kBottom, kLeft, kRight, true, u"Chart"_s);
    EXPECT_FALSE(QFileInfo(pdf).exists() && QFileInfo(pdf).size() > 0);
}

TEST_F(ChartPrintTest, CopyingLeavesTheLatestPictureOnTheClipboard)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    EXPECT_TRUE(NWPrintViewController::GenericChartToClipboard(host.get()));
    EXPECT_EQ(clipboard->image().size(), QSize(500, 320));

    host->resize(300, 200);
    QCoreApplication::processEvents();
    ASSERT_EQ(host->hostedGraph()->bounds().size(), QSizeF(300, 200));
    EXPECT_TRUE(NWPrintViewController::GenericChartToClipboard(host.get()));
    const QImage held = clipboard->image();
    EXPECT_EQ(held.size(), QSize(300, 200));
    EXPECT_EQ(held.pixelColor(150, 2).rgb(), kChartColor.rgb());
    EXPECT_TRUE(clipboard->mimeData()->hasImage());

    clipboard->setText(u"kept"_s);
    chart::GraphHostingView empty;
    EXPECT_FALSE(NWPrintViewController::GenericChartToClipboard(&empty));
    EXPECT_EQ(clipboard->text(), u"kept"_s);
}

TEST_F(ChartPrintTest, ADarkChartKeepsItsBackgroundOnPaperAndOnTheClipboard)
{
    // A chart drawn for the dark appearance: light lines and texts on no fill of its own, seen on
    // the window's dark background. On white paper they would vanish.
    auto* graph = new chart::Graph;
    graph->setAxisSet(nullptr);
    graph->setPlotAreaFrameFill(chart::Fill(QColor(Qt::white)));
    host->setHostedGraph(graph);
    QWidget window;
    QPalette dark = window.palette();
    const QColor background(0x32, 0x32, 0x32);
    dark.setColor(QPalette::Window, background);
    window.setPalette(dark);
    host->setParent(&window);

    const QImage page = rasterise(print(u"dark.pdf"_s, false));
    ASSERT_NEAR(page.width(), paper.width(), 1);
    // Between the page's margin and the plot area: the window's background, as on the screen.
    EXPECT_TRUE(isColor(page.pixel(kLeft + 10, kTop + 10), background));
    EXPECT_TRUE(isColor(page.pixel(kLeft + 40, kTop + 40), Qt::white));
    EXPECT_TRUE(isColor(page.pixel(kLeft / 2, kTop / 2), Qt::white)) << "the margins stay paper";

    ASSERT_TRUE(NWPrintViewController::GenericChartToClipboard(host.get()));
    const QImage held = QGuiApplication::clipboard()->image();
    EXPECT_EQ(held.pixelColor(5, 5).rgb(), background.rgb());
    EXPECT_EQ(held.pixelColor(5, 5).alpha(), 255);

    // In the light appearance the paper shows through, as before.
    window.setPalette(QPalette(QColor(0xEC, 0xEC, 0xEC)));
    const QImage light = rasterise(print(u"light.pdf"_s, false));
    EXPECT_TRUE(isColor(light.pixel(kLeft + 10, kTop + 10), Qt::white));
    host->setParent(nullptr);
}

} // namespace
