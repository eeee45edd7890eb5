#include "charts/common/PrintSession.h"

#include "platform/ModalPanel.h"
#include "uikit/popover/ModalPanelStandIn.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

QString& nextOutputFile()
{
    static QString path;
    return path;
}

std::function<void(QPrinter&)>& nextPanelChoice()
{
    static std::function<void(QPrinter&)> choice;
    return choice;
}

std::function<QPageSize()>& printerPaperForTesting()
{
    static std::function<QPageSize()> paper;
    return paper;
}

// Whether the printer still points at a file the seam chose; the panel must not offer it.
bool& printerHoldsSeamFile()
{
    static bool holds = false;
    return holds;
}

} // namespace

QPrinter& PrintSession::printer()
{
    // Never deleted: a printer destroyed after the application object may reach for its
    // print system, and the settings must live as long as the process anyway.
    static QPrinter* const shared = [] {
        auto* made = new QPrinter(QPrinter::HighResolution);
        // Without a printer Qt starts every printer on A4 whatever the locale: the charts and
        // the reports would not agree on the paper.
        made->setPageSize(defaultPaper(QLocale()));
        return made;
    }();
    return *shared;
}

QPageSize PrintSession::defaultPrinterPaper()
{
    if (const auto& paper = printerPaperForTesting())
        return paper();
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    return printer.isNull() ? QPageSize() : printer.defaultPageSize();
}

void PrintSession::setDefaultPrinterPaperForTesting(std::function<QPageSize()> paper)
{
    printerPaperForTesting() = std::move(paper);
}

QPageSize PrintSession::defaultPaper(const QLocale& locale)
{
    if (const QPageSize own = defaultPrinterPaper(); own.isValid())
        return own;
    return QPageSize(
        locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

void PrintSession::setNextOutputFile(const QString& path, std::function<void(QPrinter&)> panelChoice)
{
    nextOutputFile() = path;
    nextPanelChoice() = std::move(panelChoice);
}

bool PrintSession::runPrintPanel(QWidget* parent)
{
    QPrinter& shared = printer();
    if (!nextOutputFile().isEmpty()) {
        // The answer comes after the time a real panel would be up, with all that happens then.
        platform::ModalPanel::runInPlaceOfPanel(parent);
        shared.setOutputFormat(QPrinter::PdfFormat);
        shared.setOutputFileName(nextOutputFile());
        nextOutputFile().clear();
        printerHoldsSeamFile() = true;
        if (const auto choice = std::exchange(nextPanelChoice(), {}))
            choice(shared);
        return true;
    }
    if (printerHoldsSeamFile()) {
        shared.setOutputFileName({});
        shared.setOutputFormat(QPrinter::NativeFormat);
        printerHoldsSeamFile() = false;
    }
    // The panel names the file it offers after the job: a "/" there would name a folder.
    shared.setDocName(QString(shared.docName()).replace(u'/', u'-'));
    // It offers the file the last job went to; each job offers its own name there.
    if (shared.outputFormat() == QPrinter::PdfFormat && !shared.outputFileName().isEmpty()
        && !shared.docName().isEmpty()) {
        shared.setOutputFileName(
            QFileInfo(shared.outputFileName()).dir().filePath(shared.docName() + u".pdf"_s));
    }
    // On the heap and watched: the window that owns the panel may go during its event loop,
    // and then nothing is printed.
    const QPointer<QPrintDialog> panel = new QPrintDialog(&shared, modalPanelOwner(parent));
    const bool chosen = panel->exec() == QDialog::Accepted;
    if (!panel)
        return false;
    delete panel.data();
    return chosen;
}
