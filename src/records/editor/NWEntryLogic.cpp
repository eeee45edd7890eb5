#include "records/editor/NWEntryLogic.h"

#include "model/data/ModelRules.h"
#include "model/dates/DateUtilities.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/Strings.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

const std::optional<MVX_CategoryList>& storeCategories(const MVX_Model& model, EntrySide side)
{
    return side == EntrySide::Assets ? model.assetscat() : model.liabilitycat();
}

const std::optional<MVX_CategoryLogList>& sideLogs(const MVX_NWLog& record, EntrySide side)
{
    return side == EntrySide::Assets ? record.assetLogs() : record.liabilityLogs();
}

std::shared_ptr<MVX_CategoryLog> firstLogOf(
    const MVX_NWLog* record, EntrySide side, const QString& categoryID)
{
    if (!record)
        return nullptr;
    for (const auto& log : sideLogs(*record, side).value_or(MVX_CategoryLogList())) {
        if (log && log->categoryID() == categoryID)
            return log;
    }
    return nullptr;
}

std::shared_ptr<MVX_CategoryLog> makeLog(const QString& categoryID, int year, int month, double value,
    std::optional<double> foreignValue, std::optional<double> exchangeRate)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(categoryID);
    log->setYear(year);
    log->setMonth(month);
    log->setValue(value);
    log->setForeignValue(foreignValue);
    log->setExchangeRate(exchangeRate);
    return log;
}

} // namespace

NWEntryLogic::NWEntryLogic(NWData& store, QDate today) : m_store(store), m_today(today)
{
    m_initialYear = today.year();
    m_initialMonth = today.month();
    buildYearArray();
}

void NWEntryLogic::open(std::shared_ptr<MVX_NWLog> record, std::shared_ptr<MVX_NWLog> previousEntry)
{
    m_openedModel = m_store.appData();
    m_nwLogRecord = std::move(record);
    m_previousEntry = m_nwLogRecord ? nullptr : std::move(previousEntry);
    // Liabilities first, as the rows have always been built.
    for (EntrySide side : { EntrySide::Liabilities, EntrySide::Assets }) {
        m_categories[index(side)] = shownCategories(side);
        buildRows(side);
    }
    m_initialYear = m_today.year();
    m_initialMonth = m_today.month();
    if (m_nwLogRecord) {
        m_initialYear = m_nwLogRecord->year().value_or(m_initialYear);
        const int month = m_nwLogRecord->month().value_or(0);
        if (month >= 1 && month <= 12)
            m_initialMonth = month;
    }
    buildYearArray();
    updateTotals();
}

bool NWEntryLogic::isShownWhenHidden(std::optional<double> referenceValue)
{
    return referenceValue && std::isfinite(*referenceValue) && std::fabs(*referenceValue) >= 0.01;
}

MVX_CategoryList NWEntryLogic::shownCategories(EntrySide side) const
{
    MVX_CategoryList shown;
    const std::shared_ptr<MVX_Model> model = m_store.appData();
    if (!model)
        return shown;
    const std::shared_ptr<MVX_NWLog> reference = m_nwLogRecord ? m_nwLogRecord : model->currentLog();
    for (const auto& category : storeCategories(*model, side).value_or(MVX_CategoryList())) {
        if (!category)
            continue;
        if (category->isHidden() && reference) {
            const auto log = firstLogOf(reference.get(), side, category->ID());
            if (!log || !isShownWhenHidden(log->value()))
                continue;
        }
        shown.append(category);
    }
    if (std::none_of(shown.cbegin(), shown.cend(), [](const auto& c) { return c->sortOrder() > 0; })) {
        for (qsizetype i = 0; i < shown.size(); ++i)
            shown[i]->setSortOrder(qint32(i));
    }
    std::stable_sort(shown.begin(), shown.end(),
        [](const auto& a, const auto& b) { return a->sortOrder() < b->sortOrder(); });
    return shown;
}

void NWEntryLogic::buildRows(EntrySide side)
{
    QList<EntryCategoryValue>& rows = m_records[index(side)];
    rows.clear();
    MVX_CategoryLogList& carried = m_carried[index(side)];
    carried.clear();
    const std::shared_ptr<MVX_Model> model = m_store.appData();
    if (!model)
        return;
    const MVX_NWLog* const source = m_nwLogRecord ? m_nwLogRecord.get() : m_previousEntry.get();
    auto tableRate = [this](const MVX_Category& category) -> std::optional<double> {
        if (!category.isForeignCurrency())
            return std::nullopt;
        const auto entry = m_store.exchangeRates().value(category.currency());
        return entry ? entry->exchangeRate() : 1.0;
    };

    for (const auto& category : m_categories[index(side)]) {
        const auto log = firstLogOf(source, side, category->ID());
        double value = 0;
        std::optional<double> foreign;
        std::optional<double> rate;
        bool prePopulated = false;
        if (m_nwLogRecord) {
            if (log) {
                value = log->value().value_or(0);
                foreign = log->foreignValue();
                rate = log->exchangeRate();
            }
        } else if (m_previousEntry) {
            prePopulated = true;
            if (log) {
                value = log->value().value_or(0);
                foreign = log->foreignValue();
                const double r = category->depreciationRate().value_or(0);
                if (category->isDepreciable() && r > 0) {
                    value = std::max(0.0, value - value * r);
                    // A depreciation of an amount that was never given stays no amount.
                    if (foreign)
                        foreign = std::max(0.0, *foreign - *foreign * r);
                }
                rate = tableRate(*category);
            }
        } else {
            rate = tableRate(*category);
        }
        rows.append(EntryCategoryValue(category->categoryName(), value, prePopulated, category->ID(),
            category->isForeignCurrency(), category->currency(), foreign, rate));
    }

    // What the editor does not show still belongs to the record.
    if (!source)
        return;
    for (const auto& category : storeCategories(*model, side).value_or(MVX_CategoryList())) {
        if (!category || m_categories[index(side)].contains(category))
            continue;
        if (const auto log = firstLogOf(source, side, category->ID()))
            carried.append(log);
    }
}

void NWEntryLogic::buildYearArray()
{
    m_yearArray.clear();
    const int first = m_today.year() - yearsBefore;
    for (int year = first; year < first + yearsListed; ++year)
        m_yearArray.append(year);
    if (!m_yearArray.contains(m_initialYear))
        m_yearArray.insert(
            std::lower_bound(m_yearArray.begin(), m_yearArray.end(), m_initialYear), m_initialYear);
}

void NWEntryLogic::updateTotals()
{
    auto sum = [this](EntrySide side) {
        double total = 0;
        for (const auto& row : m_records[index(side)])
            total += row.categoryValue();
        for (const auto& log : m_carried[index(side)])
            total += log->value().value_or(0);
        return total;
    };
    m_totalAssets = sum(EntrySide::Assets);
    m_totalLiabilities = sum(EntrySide::Liabilities);
}

bool NWEntryLogic::hasRow(EntrySide side, int row) const
{
    return isSide(side) && row >= 0 && row < m_records[index(side)].size();
}

bool NWEntryLogic::isForeignRow(const EntryCategoryValue& row) const
{
    return row.isForeignCurrency() && m_store.supportsForeignCurrencies();
}

platform::Expected<EntryCategoryValue> NWEntryLogic::enterValue(EntrySide side, int row, const QString& text)
{
    if (!hasRow(side, row))
        return platform::Unexpected(QStringLiteral("There is no row %1 on this side.").arg(row));
    EntryCategoryValue& entry = m_records[index(side)][row];
    NWCurrencyFormatter formatter;
    if (isForeignRow(entry))
        formatter.setCustomCurrency(entry.currencyName());
    const std::optional<double> entered = formatter.numberFromString(text.trimmed());
    if (!entered || !std::isfinite(*entered))
        return platform::Unexpected(platform::localized(notANumberMessage).arg(valueText(entry)));
    const bool foreign = isForeignRow(entry);
    const double value
        = foreign ? roundUp(*entered * ensureRate(side, row).exchangeRate().value_or(1.0), 2) : *entered;
    // Refused here rather than left out of the data file at the next start.
    if (!ModelRules::isAmount(*entered) || !ModelRules::isAmount(value))
        return platform::Unexpected(platform::localized(tooLargeMessage).arg(valueText(entry)));

    entry.setCategoryValue(value);
    entry.setForeignValue(foreign ? std::optional<double>(*entered) : std::nullopt);
    entry.setPrePopulated(false);
    updateTotals();
    return entry;
}

const EntryCategoryValue& NWEntryLogic::ensureRate(EntrySide side, int row)
{
    static const EntryCategoryValue none;
    if (!hasRow(side, row))
        return none;
    EntryCategoryValue& entry = m_records[index(side)][row];
    if (isForeignRow(entry) && !entry.exchangeRate())
        entry.setExchangeRate(m_store.getExchangeRateFor(entry.currencyName()));
    return entry;
}

QString NWEntryLogic::valueText(const EntryCategoryValue& row) const
{
    if (isForeignRow(row) && row.foreignValue())
        return toForeignCurrencyString(
            *row.foreignValue(), NWCurrencyFormatter::parenthesesNegativeFormat(), row.currencyName());
    return toCurrencyString(row.categoryValue());
}

QString NWEntryLogic::rateText(const EntryCategoryValue& row) const
{
    if (!isForeignRow(row) || !row.foreignValue() || std::fabs(row.categoryValue()) <= 0.01)
        return {};
    const double rate = row.exchangeRate().value_or(m_store.getExchangeRateFor(row.currencyName()));
    return toDecimalExchRateString(rate, m_maxDecimalPlaces);
}

QStringList NWEntryLogic::monthStrings()
{
    QStringList names;
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        names.append(locale.standaloneMonthName(month, QLocale::ShortFormat));
    return names;
}

platform::MaybeError NWEntryLogic::prepareSave(int year, int month, const QString& note)
{
    const std::shared_ptr<MVX_Model> model = m_store.appData();
    if (!model || m_openedModel.expired() || m_openedModel.lock() != model)
        return platform::localized(modelReplacedMessage);
    if (m_nwLogRecord && !m_store.holdsNWLog(m_nwLogRecord.get()))
        return platform::localized(recordGoneMessage);
    const bool samePeriod = m_nwLogRecord && m_nwLogRecord->year() == year && m_nwLogRecord->month() == month;
    if (!samePeriod && m_store.haveNWLogWithYear(year, month))
        return platform::localized(periodTakenMessage);

    // Until this save is written, the file holds the record under its present period.
    m_filedPeriod.reset();
    if (m_nwLogRecord && m_nwLogRecord->year() && m_nwLogRecord->month())
        m_filedPeriod = std::pair(*m_nwLogRecord->year(), *m_nwLogRecord->month());
    if (!m_nwLogRecord)
        m_nwLogRecord = m_store.insertNewNWLog();
    fillRecord(*m_nwLogRecord, year, month, note);
    return std::nullopt;
}

void NWEntryLogic::fillRecord(MVX_NWLog& record, int year, int month, const QString& note) const
{
    record.setNote(note);
    record.setMonth(month);
    record.setYear(year);
    record.setTS(DateUtilities::dayNumber(year, month));
    record.setAssets(m_totalAssets);
    record.setLiabilities(m_totalLiabilities);
    record.setNw(totalNW());
    for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities }) {
        MVX_CategoryLogList logs;
        const MVX_CategoryList& categories = m_categories[index(side)];
        const QList<EntryCategoryValue>& rows = m_records[index(side)];
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const EntryCategoryValue& row = rows.at(i);
            logs.append(makeLog(categories.at(i)->ID(), year, month, row.categoryValue(), row.foreignValue(),
                row.exchangeRate()));
        }
        for (const auto& kept : m_carried[index(side)])
            logs.append(makeLog(kept->categoryID(), year, month, kept->value().value_or(0),
                kept->foreignValue(), kept->exchangeRate()));
        if (side == EntrySide::Assets)
            record.setAssetLogs(std::move(logs));
        else
            record.setLiabilityLogs(std::move(logs));
    }
}

std::shared_ptr<MVX_NWLog> NWEntryLogic::storeRecord(std::optional<std::pair<int, int>> period) const
{
    const std::shared_ptr<MVX_Model> model = m_store.appData();
    if (!period || !model)
        return nullptr;
    for (const auto& record : model->nwLogArray().value_or(MVX_NWLogList())) {
        if (record && record->year() == period->first && record->month() == period->second)
            return record;
    }
    return nullptr;
}

void NWEntryLogic::rebindToStore()
{
    const std::shared_ptr<MVX_Model> model = m_store.appData();
    m_openedModel = model;
    m_nwLogRecord = storeRecord(m_filedPeriod);
    if (m_previousEntry)
        m_previousEntry = storeRecord(
            std::pair(m_previousEntry->year().value_or(0), m_previousEntry->month().value_or(0)));
    for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities }) {
        const MVX_CategoryList stored
            = model ? storeCategories(*model, side).value_or(MVX_CategoryList()) : MVX_CategoryList();
        MVX_CategoryList& shown = m_categories[index(side)];
        QList<EntryCategoryValue>& rows = m_records[index(side)];
        for (qsizetype i = shown.size() - 1; i >= 0; --i) {
            const QString id = shown.at(i)->ID();
            const auto found = std::find_if(stored.cbegin(), stored.cend(),
                [&](const auto& category) { return category && category->ID() == id; });
            if (found != stored.cend()) {
                shown[i] = *found;
            } else {
                shown.removeAt(i);
                rows.removeAt(i);
            }
        }
    }
    updateTotals();
}

double NWEntryLogic::roundUp(double value, int scale)
{
    if (!std::isfinite(value))
        return value;
    // The product keeps 13 significant digits, so that 100 x 1.2345 is 123.45 and not the
    // binary 123.45000000000002 that would round up to the next cent.
    const double significant = QString::number(std::fabs(value), 'g', 13).toDouble();
    const double factor = std::pow(10.0, scale);
    const double scaled = significant * factor;
    double rounded = std::round(scaled);
    if (std::fabs(scaled - rounded) > 1e-15 * std::max(1.0, scaled))
        rounded = std::ceil(scaled);
    // Up in magnitude: a negative amount mirrors the positive one.
    return std::copysign(rounded / factor, value);
}

QString NWEntryLogic::toCurrencyString(double amount, const QString& format)
{
    return NWCurrencyFormatter(2, format.isNull() ? NWCurrencyFormatter::parenthesesNegativeFormat() : format)
        .stringFromNumber(amount);
}

QString NWEntryLogic::toForeignCurrencyString(double amount, const QString& format, const QString& currency)
{
    NWCurrencyFormatter formatter(
        2, format.isNull() ? NWCurrencyFormatter::parenthesesNegativeFormat() : format);
    formatter.setCustomCurrency(currency);
    formatter.setLenient(true);
    return formatter.stringFromNumber(amount);
}

QString NWEntryLogic::toDecimalExchRateString(double rate, int decimals)
{
    QString text = QString::number(rate, 'f', std::clamp(decimals, 0, 15));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text.replace(u'.', QLocale().decimalPoint());
}
