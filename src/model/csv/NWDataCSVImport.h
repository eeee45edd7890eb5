#pragma once

#include "model/data/MVX_Model.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class NWData;

/// Reads a file in the layout `NWDataCSVExport` writes into a new model, and installs such
/// a model in the store.
///
/// Lines are sorted into sections by their first field ("TAGS", "Asset", "Liability",
/// "NW"), so sections may stand in any order; lines before the first section are ignored.
/// A record line must carry exactly one value per ID of the ID line; numbers must be
/// plain decimal numbers (an empty field is an absent number). Anything else fails the
/// whole read with a reason, and nothing is changed.
class NWDataCSVImport {
public:
    /// "mervane.json.before-import": the copy of the data file kept by each import.
    static const QString beforeImportFileName;
    /// "CSV import failed: %@", with %1 in place of %@.
    static const QString failureMessage;
    /// The version an imported model carries.
    static const QString importedModelVersion;

    explicit NWDataCSVImport(NWData& store) : m_store(store) { }

    /// The model read from the file at `path`, or null with `error` set. Reads only.
    static std::shared_ptr<MVX_Model> importCSVFromFilePath(const QString& path, QString* error = nullptr);
    /// The same from the file's bytes (UTF-8; a byte-order mark is skipped).
    static std::shared_ptr<MVX_Model> modelFromCSVData(const QByteArray& bytes, QString* error = nullptr);
    /// The model read from lines of fields, as `CSVParseDelegate` collects them.
    static std::shared_ptr<MVX_Model> modelFromLines(
        const QList<QStringList>& lines, QString* error = nullptr);

    /// Makes `model` the store's model and saves it: day numbers recomputed, category tag
    /// lists made present, the currency set-up run, the records sorted, and the previous
    /// data file copied to "mervane.json.before-import" first. Returns none on success;
    /// on any failure the store's previous model and state come back, the data file is as
    /// it was, and the reason is returned.
    std::optional<QString> installImportedModel(const std::shared_ptr<MVX_Model>& model);

    /// "$HOME/mervane.json.before-import".
    static QString beforeImportFilePath();

private:
    NWData& m_store;
};
