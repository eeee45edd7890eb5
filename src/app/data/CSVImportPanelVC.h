#pragma once

#include "model/data/MVX_Model.h"

#include <QWidget>

#include <memory>

class NWData;
class QLabel;
class QPushButton;

/// The panel in which the user picks a CSV file (Select), installs what it holds in place
/// of all current data (Import) or gives up (Cancel). The shell shows it in a popover and
/// closes that on `notifications::csvImporterImport` or `notifications::csvImporterClose`.
/// Its parts are named "csvFileLabel", "messageLabel", "selectButton", "importButton" and
/// "cancelButton".
class CSVImportPanelVC : public QWidget {
    Q_OBJECT

public:
    /// Works on `store`, or on `NWData::shared()` when none is given.
    explicit CSVImportPanelVC(NWData* store = nullptr, QWidget* parent = nullptr);
    ~CSVImportPanelVC() override;

    /// The model read from the chosen file; null until a file was read successfully.
    const std::shared_ptr<MVX_Model>& importedModel() const { return m_importedModel; }

    /// Select: asks for a file and reads it. The message line then says how many categories
    /// and records would replace how many; a file that cannot be read is reported in red
    /// and leaves nothing to import.
    void selectImportCSVFileBtnClick();
    /// Import: closes every other shown popover, installs and saves the read model, then
    /// posts `csvImporterImport`; without one, or when installing fails, says so in red.
    void importClick();
    /// Cancel: posts `csvImporterClose`.
    void cancelClick();
    /// Shows a failure in the message line, in red.
    void exportImportErrorMessage(const QString& message);

private:
    void showMessage(const QString& text, bool isError);

    NWData& m_store;
    std::shared_ptr<MVX_Model> m_importedModel;
    QLabel* m_messageLabel = nullptr;
    QLabel* m_csvFileLabel = nullptr;
    QPushButton* m_selectButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
