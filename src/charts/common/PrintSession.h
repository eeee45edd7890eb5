#pragma once

#include <QPageSize>
#include <QString>

#include <functional>

class QLocale;
class QPrinter;
class QWidget;

/// The application's shared print settings: one process-wide printer whose page size,
/// margins and orientation stay as the last job left them, and the print panel over it.
/// Charts and reports print through it, all on its paper: the default paper at first, then
/// the one last chosen in the panel. Main thread only.
class PrintSession {
public:
    PrintSession() = delete;

    /// The shared printer (high resolution), made on first use on the `defaultPaper` of the
    /// system's locale, and kept for the process.
    static QPrinter& printer();
    /// The paper every printout starts from: the default printer's own paper
    /// (`defaultPrinterPaper`), or, without one, the paper of `locale`'s measurement system
    /// (US Letter where it is the US system, else A4).
    static QPageSize defaultPaper(const QLocale& locale);
    /// The system's default printer's own paper; an invalid size when there is no default
    /// printer or it names none.
    static QPageSize defaultPrinterPaper();
    /// Replaces the print system in `defaultPrinterPaper` (tests have no printer); an empty
    /// function asks the print system again.
    static void setDefaultPrinterPaperForTesting(std::function<QPageSize()> paper);
    /// Shows the print panel over the shared printer; true when the user chose to print.
    /// After `setNextOutputFile`, no panel shows: the printer writes that PDF file instead
    /// and the answer is true, after a nested event loop as long as a real panel's (see
    /// `platform::ModalPanel`). Either way `parent` may be gone when this returns.
    static bool runPrintPanel(QWidget* parent);
    /// The next `runPrintPanel` prints to the PDF file `path` without asking (for tests and
    /// benchmarks, which must never wait on a modal panel); `panelChoice`, when given, changes
    /// the printer as a user would in the panel.
    static void setNextOutputFile(const QString& path, std::function<void(QPrinter&)> panelChoice = {});
};
