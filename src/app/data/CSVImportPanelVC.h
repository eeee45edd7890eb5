#pragma once

#include "model/data/MVX_Model.h"
#include "uikit/overlay/POProgressOverlay.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class NWData;
class QLabel;
class QPushButton;

/// The panel in which the user picks a CSV file (Select), installs what it holds in place
/// of all current data (Import) or gives up (Cancel). The shell shows it in a popover and
/// closes that on `notifications::csvImporterImport` or `notifications::csvImporterClose`.
/// Its parts are named "csvFileLabel", "messageLabel", "selectButton", "importButton" and
/// "cancelButton".
class CSVImportPanelVC : public QWidget, private POProgressOverlayDelegate {
    Q_OBJECT

public:
    /// Works on `store`, or on `NWData::shared()` when none is given.
    explicit CSVImportPanelVC(NWData* store = nullptr, QWidget* parent = nullptr);
    ~CSVImportPanelVC() override;

    /// The model read from the chosen file; null until a file was read successfully.
    const std::shared_ptr<MVX_Model>& importedModel() const { return m_importedModel; }

    /// Select: asks for a file and reads it on the background pool while a "Reading ..."
    /// overlay covers the panel (Select and Import wait meanwhile; a click on the overlay
    /// stops the read). The message line then says how many categories and records would
    /// replace how many; a file that cannot be read is reported in red and leaves nothing to
    /// import. So is a file whose data file would be larger than the store's
    /// `maxDataFileSize()`: it is refused before its model is made. What a refused or stopped
    /// read made is given back to the system when the read ends, and so is a read model that
    /// the next read replaces.
    void selectImportCSVFileBtnClick();
    /// True while a chosen file is read.
    bool isReading() const { return m_read != nullptr; }
    /// Stops the read under way, if any: the panel is left as it was before the file was
    /// chosen, and what the read still delivers is dropped.
    void stopReading();
    /// Import: closes every other shown popover, installs and saves the read model, then
    /// posts `csvImporterImport`; without one, or when installing fails, says so in red.
    void importClick();
    /// Cancel: stops the read, drops the read model and posts `csvImporterClose`. Hiding the
    /// panel (its popover closed by Escape, a click elsewhere or its window) and deleting it
    /// drop them too. A dropped model is freed on the background pool, whose memory is then
    /// given back to the system.
    void cancelClick();
    /// Shows a failure in the message line, in red.
    void exportImportErrorMessage(const QString& message);

    /// Runs on the reading thread before each read, with the read's stop request (tests hold
    /// a read there).
    using ReadHook = std::function<void(const std::function<bool()>& stopRequested)>;
    static void setReadHookForTesting(ReadHook hook);
    /// Runs on the reading thread with each model a read made, before the panel sees it
    /// (tests keep a weak reference to see that a model nobody imports is destroyed).
    using ModelHook = std::function<void(const std::shared_ptr<MVX_Model>& model)>;
    static void setModelHookForTesting(ModelHook hook);
    /// Gives what the allocator keeps of freed memory back to the system, after a read model
    /// or what a failed read made was freed; runs on a thread of the background pool. By
    /// default it trims the allocator's heaps; tests count the calls. An empty one puts the
    /// default back.
    using MemoryRelease = std::function<void()>;
    static void setMemoryReleaseForTesting(MemoryRelease release);

signals:
    /// A read ended and its outcome is shown (not sent for a stopped read).
    void readFinished();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    struct Read;
    void startReading(const QString& path);
    void finishReading(const std::shared_ptr<Read>& read, const platform::MaybeError& failure);
    static void dropResult(Read& read);
    void dropImportedModel();
    void endWithoutImport();
    void setReading(const std::shared_ptr<Read>& read);
    void hudWasTapped(POProgressOverlay* overlay) override;
    void showMessage(const QString& text, bool isError);

    NWData& m_store;
    std::shared_ptr<MVX_Model> m_importedModel;
    std::shared_ptr<Read> m_read;
    QPointer<POProgressOverlay> m_overlay;
    QLabel* m_messageLabel = nullptr;
    QLabel* m_csvFileLabel = nullptr;
    QPushButton* m_selectButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
