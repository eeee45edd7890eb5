#pragma once

#include "model/data/MVX_Model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class NWData;

/// Writes the store's model as comma-separated text in four sections (tags, asset
/// categories, liability categories, monthly records with one value per category).
///
/// UTF-8, LF line ends. A field holding a comma, a double quote, CR or LF is quoted with
/// its quotes doubled; every other field is written as it is. Numbers take their shortest
/// plain form ("1500", "-0.25"); an absent text or number is an empty field.
class NWDataCSVExport {
public:
    /// "mervaneExport.csv", the name the export command suggests.
    static const QString suggestedFileName;

    explicit NWDataCSVExport(NWData& store) : m_store(store) { }

    /// Writes the file atomically: a file already at `path` is replaced only by a
    /// complete one. Returns none on success, else why nothing was written.
    std::optional<QString> exportToCSV(const QString& path) const;

    /// The whole text, or none with `error` set (no model, or a number that is not finite).
    std::optional<QByteArray> csvText(QString* error = nullptr) const;

    /// The tag IDs as fields joined with ","; empty for none.
    static QString exportTagsAsCSV(const std::optional<QStringList>& tagIDs);
    /// "," + ID for every asset category, then every liability category.
    QString exportCategoryIDs() const;
    /// The record's value fields in the order of `exportCategoryIDs`, without a leading
    /// comma: the first log of each category, "0" where the record has none.
    QString exportCategoryValues(const MVX_NWLog& record) const;

    /// `text` as one field: quoted when it holds a comma, a quote, CR or LF.
    static QString field(const QString& text);
    /// The shortest plain decimal text that reads back as `value`; empty when absent.
    static QString number(std::optional<double> value);

private:
    NWData& m_store;
};
