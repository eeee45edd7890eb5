// Printing the reports to PDF on the 50-year household of 200 categories: the table report
// over all 600 months of one asset category, and the statement of the newest month with a
// value of every category. Each iteration lays the report out and paints every page.
#include "BenchData.h"
#include "ScreenBench.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "reports/print/NWPrinView_GenericTable.h"
#include "reports/print/NWPrintView_NWStatement.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// A PDF printer with the paper and margins the shell sets for reports.
void setUpPrinter(QPrinter& printer, const QString& pdf)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(18, 30, 18, 40), QPageLayout::Point);
}

void BM_PrintTableReport600Months(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    NWData& store = *NWData::shared();
    const QString categoryID = store.appData()->assetscat()->first()->ID();
    const QList<NWReportRecord> records = store.getAssetReportRecords(categoryID, std::nullopt, std::nullopt);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"table.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, pdf);
    qint64 pages = 0;
    for (auto _ : state) {
        NWPrinView_GenericTable view(printer, store, u"Assets report"_s, u"Category: Bench"_s,
            u"Dec 2049 - Jan 2000"_s, QColor::fromRgbF(0.11f, 0.52f, 0.98f),
            QColor::fromRgbF(0.25f, 0.25f, 0.25f), records);
        if (!view.print(printer))
            state.SkipWithError("the report was not printed");
        pages = view.totalPages();
    }
    state.counters["rows"] = double(records.size());
    state.counters["pages"] = double(pages);
    state.counters["pdf_bytes"] = double(QFileInfo(pdf).size());
}

void BM_PrintStatement200Categories(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    NWData& store = *NWData::shared();
    const MVX_NWLog* newest = store.appData()->currentLog().get();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"statement.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, pdf);
    qint64 pages = 0;
    for (auto _ : state) {
        NWPrintView_NWStatement view(printer, store, newest,
            NWPrintView_NWStatement::getPreviousLog(store, newest, 1),
            NWPrintView_NWStatement::getPreviousLog(store, newest, 12));
        if (!view.print(printer))
            state.SkipWithError("the statement was not printed");
        pages = view.totalPages();
    }
    state.counters["categories"] = double(newest->assetLogs()->size() + newest->liabilityLogs()->size());
    state.counters["pages"] = double(pages);
    state.counters["pdf_bytes"] = double(QFileInfo(pdf).size());
}

} // namespace

BENCHMARK(BM_PrintTableReport600Months)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintStatement200Categories)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
