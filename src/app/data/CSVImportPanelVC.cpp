#include "app/data/CSVImportPanelVC.h"

#include "app/AppNotifications.h"
#include "app/alerts/AlertLayout.h"
#include "app/data/EditorPopovers.h"
#include "model/csv/CSVImport.h"
#include "model/store/NWData.h"
#include "platform/Dispatch.h"
#include "platform/FileChooser.h"
#include "platform/FileIO.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <atomic>
#include <new>
#include <optional>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

// The texts wrap at this width; the panel's height follows them.
constexpr int kPanelWidth = 480;
// A file read within this time is shown without the overlay flashing up.
constexpr double kOverlayGraceSeconds = 0.3;

CSVImportPanelVC::ReadHook& readHook()
{
    static CSVImportPanelVC::ReadHook hook;
    return hook;
}

CSVImportPanelVC::ModelHook& modelHook()
{
    static CSVImportPanelVC::ModelHook hook;
    return hook;
}

// The allocator keeps what a thread freed for that thread's later use: after the read of a
// 60 MB file was stopped while its model was made, some 400 MB stayed resident without this,
// and every read model given up kept some 700 MB.
void trimAllocator()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

CSVImportPanelVC::MemoryRelease& memoryRelease()
{
    static CSVImportPanelVC::MemoryRelease release;
    return release;
}

void releaseFreedMemory()
{
    if (const CSVImportPanelVC::MemoryRelease& release = memoryRelease())
        release();
    else
        trimAllocator();
}

// The model of a 50 MB file took a third of a second to free: it goes on the pool, which
// then gives its memory back.
void discardInBackground(std::shared_ptr<MVX_Model> model)
{
    platform::runInBackground([model = std::move(model)]() mutable {
        model.reset();
        releaseFreedMemory();
    });
}

qsizetype categoryCount(const MVX_Model& model)
{
    return model.assetscat().value_or(MVX_CategoryList()).size()
        + model.liabilitycat().value_or(MVX_CategoryList()).size();
}

qsizetype recordCount(const MVX_Model& model)
{
    return model.nwLogArray().value_or(MVX_NWLogList()).size();
}

// What Import would do, said before it can be done: "12 categories and 120 monthly records
// will replace 15 categories and 118 records."
QString replacementSummary(const MVX_Model& imported, const MVX_Model* current)
{
    using platform::Strings;
    const qsizetype currentCategories = current ? categoryCount(*current) : 0;
    const qsizetype currentRecords = current ? recordCount(*current) : 0;
    return Strings::tr("%1 and %2 will replace %3 and %4.")
        .arg(Strings::tr("%n categories", nullptr, int(categoryCount(imported))),
            Strings::tr("%n monthly records", nullptr, int(recordCount(imported))),
            Strings::tr("%n categories", nullptr, int(currentCategories)),
            Strings::tr("%n records", nullptr, int(currentRecords)));
}

} // namespace

struct CSVImportPanelVC::Read {
    std::atomic<bool> stop { false };
    // Set on the reading thread before its completion is posted to the main thread.
    std::optional<platform::Expected<std::shared_ptr<MVX_Model>>> result;
    // The file label before the read, for a stopped read to put back.
    QString previousFile;
};

CSVImportPanelVC::CSVImportPanelVC(NWData* store, QWidget* parent)
    : QWidget(parent), m_store(store ? *store : *NWData::shared())
{
    setObjectName(u"CSVImportPanelVC"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);

    auto* title = new QLabel(platform::Strings::tr("Import from a CSV file"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);

    auto* warning
        = new QLabel(platform::Strings::tr("Importing replaces all current data. A CSV file does not carry "
                                           "the goal, the base currency, the order of the categories, "
                                           "hidden flags, depreciation, tag colours or the exchange rates "
                                           "of values: they are reset. The current data file is kept as %1.")
                         .arg(platform::keptCopyPrefix(NWData::dataFileName, NWData::beforeImportKind)
                             + u"<date>-<time>"_s),
            this);
    warning->setObjectName(u"warningLabel"_s);
    warning->setTextFormat(Qt::PlainText);
    warning->setWordWrap(true);
    layout->addWidget(warning);

    m_csvFileLabel = new QLabel(this);
    m_csvFileLabel->setObjectName(u"csvFileLabel"_s);
    m_csvFileLabel->setTextFormat(Qt::PlainText);
    m_csvFileLabel->setWordWrap(true);
    layout->addWidget(m_csvFileLabel);

    m_messageLabel = new QLabel(this);
    m_messageLabel->setObjectName(u"messageLabel"_s);
    m_messageLabel->setTextFormat(Qt::PlainText);
    m_messageLabel->setWordWrap(true);
    layout->addWidget(m_messageLabel);

    auto* buttons = new QHBoxLayout;
    m_selectButton = new QPushButton(platform::Strings::tr("Select..."), this);
    m_selectButton->setObjectName(u"selectButton"_s);
    m_importButton = new QPushButton(platform::Strings::tr("Import"), this);
    m_importButton->setObjectName(u"importButton"_s);
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    buttons->addWidget(m_selectButton);
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_importButton);
    layout->addLayout(buttons);

    connect(m_selectButton, &QPushButton::clicked, this, &CSVImportPanelVC::selectImportCSVFileBtnClick);
    connect(m_importButton, &QPushButton::clicked, this, &CSVImportPanelVC::importClick);
    connect(m_cancelButton, &QPushButton::clicked, this, &CSVImportPanelVC::cancelClick);
    AlertLayout::fitToWidth(this, kPanelWidth);
}

CSVImportPanelVC::~CSVImportPanelVC()
{
    // The read ends at its next line, and its result is dropped without reaching the panel,
    // also when the overlay delivers it while this panel's children are deleted.
    if (m_read)
        m_read->stop = true;
    dropImportedModel();
}

void CSVImportPanelVC::setReadHookForTesting(ReadHook hook)
{
    readHook() = std::move(hook);
}

void CSVImportPanelVC::setModelHookForTesting(ModelHook hook)
{
    modelHook() = std::move(hook);
}

void CSVImportPanelVC::setMemoryReleaseForTesting(MemoryRelease release)
{
    memoryRelease() = std::move(release);
}

void CSVImportPanelVC::selectImportCSVFileBtnClick()
{
    if (isReading())
        return;
    platform::FileRequest request;
    request.mode = platform::FileRequest::Mode::Open;
    request.title = platform::Strings::tr("Import inventory items from a CSV file");
    request.parent = this;
    // The panel runs an event loop in which this panel's popover may close and take it along.
    const QPointer<CSVImportPanelVC> alive(this);
    const QString path = platform::FileChooser::choose(request);
    if (!alive || path.isEmpty() || isReading())
        return;
    startReading(path);
}

void CSVImportPanelVC::startReading(const QString& path)
{
    auto read = std::make_shared<Read>();
    read->previousFile = m_csvFileLabel->text();
    m_csvFileLabel->setText(path);
    AlertLayout::fitToWidth(this, kPanelWidth);
    setReading(read);

    auto* overlay = new POProgressOverlay(this);
    overlay->setLabelText(platform::Strings::tr("Reading ..."));
    overlay->setDetailsLabelText(platform::Strings::tr("Click to stop"));
    overlay->setDismissible(true);
    overlay->setRemoveFromSuperViewOnHide(true);
    overlay->setGraceTime(kOverlayGraceSeconds);
    overlay->setDelegate(this);
    m_overlay = overlay;
    const QPointer<CSVImportPanelVC> panel(this);
    // A file whose data file the store would refuse is refused while it is read, before its
    // model takes many times its size.
    const qint64 maxDataFileSize = m_store.maxDataFileSize();
    overlay->showAnimated(
        true,
        [read, path, maxDataFileSize]() -> platform::MaybeError {
            const csv::StopRequest stopRequested = [&read] { return read->stop.load(); };
            if (const ReadHook& hook = readHook())
                hook(stopRequested);
            try {
                read->result = csv::importCSVFromFilePath(path, stopRequested, maxDataFileSize);
                if (const ModelHook& hook = modelHook(); hook && *read->result)
                    hook(**read->result);
            } catch (const std::bad_alloc&) {
                read->result = platform::Unexpected(
                    platform::Strings::tr("there is not enough memory to read the file"));
            }
            // A model finished after the stop goes at once, not when the main thread drops it.
            if (read->stop)
                read->result = platform::Unexpected(csv::stoppedReason());
            if (!*read->result)
                releaseFreedMemory();
            return std::nullopt;
        },
        [panel, read](const platform::MaybeError& failure) {
            // A read given up reaches no panel. The stop is asked first: a deleted panel's
            // overlay, still fading, delivers this from ~QWidget, before the pointer is cleared.
            if (read->stop || !panel)
                dropResult(*read);
            else
                panel->finishReading(read, failure);
        });
}

void CSVImportPanelVC::finishReading(const std::shared_ptr<Read>& read, const platform::MaybeError& failure)
{
    // A stopped read never comes here (its completion drops it); one that another has
    // replaced changes nothing, and its model goes now.
    if (read != m_read) {
        dropResult(*read);
        return;
    }
    setReading(nullptr);
    platform::Expected<std::shared_ptr<MVX_Model>> result = read->result
        ? std::move(*read->result)
        : platform::Unexpected(failure.value_or(platform::Strings::tr("The operation failed.")));
    read->result.reset();
    if (!result) {
        dropImportedModel();
        exportImportErrorMessage(platform::localized(NWData::csvImportFailureMessage).arg(result.error()));
    } else {
        if (std::shared_ptr<MVX_Model> replaced = std::exchange(m_importedModel, std::move(*result)))
            discardInBackground(std::move(replaced));
        showMessage(replacementSummary(*m_importedModel, m_store.appData().get()), false);
    }
    emit readFinished();
}

void CSVImportPanelVC::dropResult(Read& read)
{
    if (read.result && *read.result)
        discardInBackground(std::move(**read.result));
    read.result.reset();
}

void CSVImportPanelVC::dropImportedModel()
{
    if (m_importedModel)
        discardInBackground(std::move(m_importedModel));
    m_importedModel.reset();
}

void CSVImportPanelVC::endWithoutImport()
{
    stopReading();
    dropImportedModel();
    m_csvFileLabel->clear();
    showMessage(QString(), false);
}

void CSVImportPanelVC::stopReading()
{
    if (!m_read)
        return;
    m_read->stop = true;
    m_csvFileLabel->setText(m_read->previousFile);
    setReading(nullptr);
    // A click on the overlay has hidden it already.
    if (m_overlay && !m_overlay->isFinished())
        m_overlay->hide(false);
    AlertLayout::fitToWidth(this, kPanelWidth);
}

void CSVImportPanelVC::setReading(const std::shared_ptr<Read>& read)
{
    m_read = read;
    m_selectButton->setEnabled(!read);
    m_importButton->setEnabled(!read);
}

void CSVImportPanelVC::hudWasTapped(POProgressOverlay* /*overlay*/)
{
    stopReading();
}

void CSVImportPanelVC::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Closed with its popover: nothing is left to show the read to, and nothing will import
    // its model. A minimised window (a hide by the window system) keeps both.
    if (!event->spontaneous())
        endWithoutImport();
}

void CSVImportPanelVC::importClick()
{
    if (isReading())
        return;
    if (!m_importedModel) {
        showMessage(platform::Strings::tr("Import Error"), true);
        return;
    }
    // No editor may write into the model that is about to be replaced.
    closeEditorPopovers({ enclosingShownPopover(this) });
    if (platform::MaybeError failed = m_store.installImportedModel(m_importedModel)) {
        exportImportErrorMessage(platform::localized(NWData::csvImportFailureMessage).arg(*failed));
        return;
    }
    // Installed: a second Import must not install the same objects again.
    m_importedModel.reset();
    showMessage(QString(), false);
    platform::NotificationCenter::defaultCenter().post(notifications::csvImporterImport);
}

void CSVImportPanelVC::cancelClick()
{
    endWithoutImport();
    platform::NotificationCenter::defaultCenter().post(notifications::csvImporterClose);
}

void CSVImportPanelVC::exportImportErrorMessage(const QString& message)
{
    showMessage(message, true);
}

void CSVImportPanelVC::showMessage(const QString& text, bool isError)
{
    m_messageLabel->setText(text);
    QPalette palette = this->palette();
    if (isError) {
        palette.setColor(QPalette::Window, QColor(255, 59, 48));
        palette.setColor(QPalette::WindowText, QColor(Qt::white));
    }
    // Only a failure stands on a coloured band; a summary reads as the panel's own text.
    m_messageLabel->setAutoFillBackground(isError);
    m_messageLabel->setMargin(isError ? 3 : 0);
    m_messageLabel->setPalette(palette);
    AlertLayout::fitToWidth(this, kPanelWidth);
}
