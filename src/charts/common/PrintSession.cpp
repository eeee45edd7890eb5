#include "charts/common/PrintSession.h"

#include <QPrintDialog>
#include <QPrinter>

#include <utility>

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
    static QPrinter* const shared = new QPrinter(QPrinter::HighResolution);
    return *shared;
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
    QPrintDialog panel(&shared, parent);
    return panel.exec() == QDialog::Accepted;
}
