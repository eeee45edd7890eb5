#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// The model as comma-separated text in four sections (tags, asset categories, liability
/// categories, monthly records with one value per category). UTF-8, LF line ends. A field
/// holding a comma, a double quote, CR or LF is quoted with its quotes doubled; every other
/// field is written as it is. Numbers take their shortest plain form ("1500", "-0.25"); an
/// absent text or number is an empty field. Writing only reads the model.
namespace csv {

/// The whole text, or why there is none (a number that is not finite).
platform::Expected<QByteArray> csvText(const MVX_Model& model);
/// The tag IDs as fields joined with ","; empty for none.
QString exportTagsAsCSV(const std::optional<QStringList>& tagIDs);
/// "," + ID for every asset category, then every liability category.
QString exportCategoryIDs(const MVX_Model& model);
/// The record's value fields in the order of `exportCategoryIDs`, without a leading
/// comma: the first log of each category, "0" where the record has none.
QString exportCategoryValues(const MVX_Model& model, const MVX_NWLog& record);
/// `text` as one field: quoted when it holds a comma, a quote, CR or LF.
QString csvField(const QString& text);
/// The shortest plain decimal text that reads back as `value`; empty when absent.
QString csvNumber(std::optional<double> value);

} // namespace csv
