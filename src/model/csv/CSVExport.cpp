#include "model/csv/CSVExport.h"

#include "platform/Strings.h"

#include <QHash>

#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

bool finite(std::optional<double> value)
{
    return !value || std::isfinite(*value);
}

// The text form of a number that is not finite would not read back, so such a model is
// refused as a whole rather than written with holes.
bool allNumbersFinite(const MVX_Model& model)
{
    for (const auto& record : model.nwLogArray().value_or(MVX_NWLogList())) {
        if (!record)
            continue;
        if (!finite(record->assets()) || !finite(record->liabilities()) || !finite(record->nw()))
            return false;
        for (const auto* logs : { &record->assetLogs(), &record->liabilityLogs() }) {
            for (const auto& log : logs->value_or(MVX_CategoryLogList())) {
                if (log && !finite(log->value()))
                    return false;
            }
        }
    }
    return true;
}

const MVX_CategoryList& orEmpty(const std::optional<MVX_CategoryList>& list)
{
    static const MVX_CategoryList empty;
    return list ? *list : empty;
}

QString integer(std::optional<int> value)
{
    return value ? QString::number(*value) : QString();
}

void appendCategories(QString& out, const std::optional<MVX_CategoryList>& categories)
{
    for (const auto& category : orEmpty(categories)) {
        if (!category)
            continue;
        out += u',' + csv::csvField(category->ID()) + u',' + csv::csvField(category->categoryName()) + u','
            + csv::csvField(category->desc()) + u',' + (category->isForeignCurrency() ? u'1' : u'0') + u','
            + csv::csvField(category->currency()) + u',' + csv::exportTagsAsCSV(category->tags()) + u'\n';
    }
}

} // namespace

namespace csv {

QString csvField(const QString& text)
{
    const bool needsQuotes = std::any_of(text.cbegin(), text.cend(),
        [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString csvNumber(std::optional<double> value)
{
    if (!value)
        return {};
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::fixed).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}

QString exportTagsAsCSV(const std::optional<QStringList>& tagIDs)
{
    if (!tagIDs)
        return {};
    QStringList fields;
    fields.reserve(tagIDs->size());
    for (const QString& id : *tagIDs)
        fields.append(csvField(id));
    return fields.join(u',');
}

QString exportCategoryIDs(const MVX_Model& model)
{
    QString ids;
    for (const auto* list : { &model.assetscat(), &model.liabilitycat() }) {
        for (const auto& category : orEmpty(*list)) {
            if (category)
                ids += u',' + csvField(category->ID());
        }
    }
    return ids;
}

QString exportCategoryValues(const MVX_Model& model, const MVX_NWLog& record)
{
    QString values;
    bool first = true;
    for (const auto& [categories, logs] : { std::pair { &model.assetscat(), &record.assetLogs() },
             std::pair { &model.liabilitycat(), &record.liabilityLogs() } }) {
        // The first log of each category counts.
        QHash<QString, const MVX_CategoryLog*> firstLogs;
        for (const auto& log : logs->value_or(MVX_CategoryLogList())) {
            if (log && !firstLogs.contains(log->categoryID()))
                firstLogs.insert(log->categoryID(), log.get());
        }
        for (const auto& category : orEmpty(*categories)) {
            if (!category)
                continue;
            if (!first)
                values += u',';
            first = false;
            const MVX_CategoryLog* log = firstLogs.value(category->ID());
            values += log ? csvNumber(log->value()) : u"0"_s;
        }
    }
    return values;
}

platform::Expected<QByteArray> csvText(const MVX_Model& model)
{
    if (!allNumbersFinite(model))
        return platform::Unexpected(platform::Strings::tr("The data holds an amount that is not a number."));
    QString out;
    out += u"TAGS,ID,Name,Description\n"_s;
    for (const auto& tag : model.tags().value_or(MVX_TagsList())) {
        if (tag)
            out += u',' + csvField(tag->ID()) + u',' + csvField(tag->name()) + u',' + csvField(tag->desc())
                + u'\n';
    }
    out += u"\nAsset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"_s;
    appendCategories(out, model.assetscat());
    out += u"\nLiability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"_s;
    appendCategories(out, model.liabilitycat());
    out += u"\nNW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,"_s
        + exportCategoryIDs(model) + u'\n';
    for (const auto& record : model.nwLogArray().value_or(MVX_NWLogList())) {
        if (!record)
            continue;
        out += u',' + integer(record->year()) + u',' + integer(record->month()) + u','
            + csvField(record->note()) + u',' + csvNumber(record->assets()) + u','
            + csvNumber(record->liabilities()) + u',' + csvNumber(record->nw()) + u','
            + exportCategoryValues(model, *record) + u'\n';
    }
    return out.toUtf8();
}

} // namespace csv
