#include "model/data/ImportModel.h"

#include "model/dates/DateUtilities.h"
#include "platform/Strings.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// Thrown by the field readers; caught per list element (the element is left out and
// counted) or for the whole document (reading fails).
struct Unreadable {
    QString key;
    QString found;
};

QString kindOf(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return u"null"_s;
    case QJsonValue::Bool:
        return u"a boolean"_s;
    case QJsonValue::Double:
        return u"a number"_s;
    case QJsonValue::String:
        return u"a text"_s;
    case QJsonValue::Array:
        return u"a list"_s;
    case QJsonValue::Object:
        return u"an object"_s;
    case QJsonValue::Undefined:
        break;
    }
    return u"nothing"_s;
}

[[noreturn]] void unreadable(QLatin1StringView key, const QJsonValue& value)
{
    throw Unreadable { QString(key), kindOf(value) };
}

bool isAbsent(const QJsonValue& value)
{
    return value.isUndefined() || value.isNull();
}

QString readString(const QJsonObject& object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (isAbsent(value))
        return {};
    if (!value.isString())
        unreadable(key, value);
    QString text = value.toString();
    if (text.isNull())
        text = QString(0, QChar()); // present but empty stays distinct from absent
    return text;
}

std::optional<double> readDouble(const QJsonObject& object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (isAbsent(value))
        return std::nullopt;
    if (!value.isDouble())
        unreadable(key, value);
    return value.toDouble();
}

// Integers are truncated toward zero, as a number read as an integer is.
std::optional<int> readInt(const QJsonObject& object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (isAbsent(value))
        return std::nullopt;
    if (!value.isDouble())
        unreadable(key, value);
    const double number = std::trunc(value.toDouble());
    if (!(number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max()))
        unreadable(key, value);
    return static_cast<int>(number);
}

bool readFlag(const QJsonObject& object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (isAbsent(value))
        return false;
    if (value.isBool())
        return value.toBool();
    if (!value.isDouble())
        unreadable(key, value);
    return value.toDouble() != 0.0;
}

QJsonArray readArray(const QJsonObject& object, QLatin1StringView key, bool* present)
{
    const QJsonValue value = object.value(key);
    *present = !isAbsent(value);
    if (!*present)
        return {};
    if (!value.isArray())
        unreadable(key, value);
    return value.toArray();
}

class Reader {
public:
    explicit Reader(ModelReadResult& result) : m_result(result) { }

    std::shared_ptr<MVX_Model> model(const QJsonObject& object);

private:
    template <typename T, typename ReadElement>
    std::optional<QList<std::shared_ptr<T>>> list(
        const QJsonObject& object, QLatin1StringView key, int& unreadableCount, ReadElement readElement)
    {
        bool present = false;
        const QJsonArray array = readArray(object, key, &present);
        if (!present)
            return std::nullopt;
        QList<std::shared_ptr<T>> items;
        items.reserve(array.size());
        for (const QJsonValue& element : array) {
            if (!element.isObject()) {
                ++unreadableCount;
                continue;
            }
            try {
                items.append(readElement(element.toObject()));
            } catch (const Unreadable&) {
                ++unreadableCount;
            }
        }
        return items;
    }

    std::shared_ptr<MVX_NWLog> record(const QJsonObject& object);
    std::shared_ptr<MVX_CategoryLog> value(const QJsonObject& object);
    std::shared_ptr<MVX_Category> category(const QJsonObject& object);
    std::shared_ptr<MVX_Tags> tag(const QJsonObject& object);

    ModelReadResult& m_result;
};

std::shared_ptr<MVX_CategoryLog> Reader::value(const QJsonObject& object)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(readString(object, "cat"_L1));
    log->setYear(readInt(object, "year"_L1));
    log->setMonth(readInt(object, "month"_L1));
    log->setValue(readDouble(object, "value"_L1));
    log->setExchangeRate(readDouble(object, "exch"_L1));
    log->setForeignValue(readDouble(object, "fvalue"_L1));
    return log;
}

std::shared_ptr<MVX_NWLog> Reader::record(const QJsonObject& object)
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(readInt(object, "year"_L1));
    log->setMonth(readInt(object, "month"_L1));
    log->setNote(readString(object, "note"_L1));
    log->setAssets(readDouble(object, "assets"_L1));
    log->setLiabilities(readDouble(object, "liabilities"_L1));
    log->setNw(readDouble(object, "nw"_L1));
    log->setGold(readDouble(object, "gold"_L1));
    log->setBitcoin(readDouble(object, "bitcoin"_L1));
    // Counted only once the record itself was read: a dropped record drops its values too.
    int unreadableValues = 0;
    const auto read = [this](const QJsonObject& o) { return value(o); };
    log->setAssetLogs(list<MVX_CategoryLog>(object, "a_logs"_L1, unreadableValues, read));
    log->setLiabilityLogs(list<MVX_CategoryLog>(object, "l_logs"_L1, unreadableValues, read));
    log->setTS(DateUtilities::dayNumber(log->year().value_or(0), log->month().value_or(0)));
    m_result.unreadableValues += unreadableValues;
    return log;
}

std::shared_ptr<MVX_Category> Reader::category(const QJsonObject& object)
{
    auto category = std::make_shared<MVX_Category>();
    category->setID(readString(object, "ID"_L1));
    category->setCategoryName(readString(object, "name"_L1));
    category->setDesc(readString(object, "desc"_L1));
    category->setIsForeignCurrency(readFlag(object, "is_foreign"_L1));
    category->setCurrency(readString(object, "currency"_L1));
    bool present = false;
    const QJsonArray tags = readArray(object, "tags"_L1, &present);
    if (present) {
        QStringList ids;
        ids.reserve(tags.size());
        int unreadableIds = 0;
        for (const QJsonValue& id : tags) {
            if (id.isString())
                ids.append(id.toString());
            else
                ++unreadableIds;
        }
        category->setTags(ids);
        m_result.unreadableTagReferences += unreadableIds;
    }
    category->setIsDepreciable(readFlag(object, "is_depreciable"_L1));
    category->setDepreciationRate(readDouble(object, "depr_rate"_L1));
    category->setSortOrder(readInt(object, "sort_order"_L1).value_or(0));
    category->setIsHidden(readFlag(object, "is_hidden"_L1));
    return category;
}

std::shared_ptr<MVX_Tags> Reader::tag(const QJsonObject& object)
{
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(readString(object, "ID"_L1));
    tag->setName(readString(object, "name"_L1));
    tag->setDesc(readString(object, "desc"_L1));
    tag->setHexColorString(readString(object, "hexColorString"_L1));
    return tag;
}

std::shared_ptr<MVX_Model> Reader::model(const QJsonObject& object)
{
    auto model = std::make_shared<MVX_Model>();
    model->setVersion(readString(object, "version"_L1));
    if (model->version().isNull())
        model->setVersion(MVX_Model::applicationShortVersion());
    const auto readCategory = [this](const QJsonObject& o) { return category(o); };
    model->setAssetscat(list<MVX_Category>(object, "a_cat"_L1, m_result.unreadableCategories, readCategory)
                            .value_or(MVX_CategoryList()));
    model->setLiabilitycat(list<MVX_Category>(object, "l_cat"_L1, m_result.unreadableCategories, readCategory)
                               .value_or(MVX_CategoryList()));
    model->setNwLogArray(
        list<MVX_NWLog>(object, "nw_logs"_L1, m_result.unreadableRecords, [this](const QJsonObject& o) {
            return record(o);
        }).value_or(MVX_NWLogList()));
    model->setTags(list<MVX_Tags>(object, "tags"_L1, m_result.unreadableTags, [this](const QJsonObject& o) {
        return tag(o);
    }).value_or(MVX_TagsList()));
    model->setBaseCurrency(readString(object, "base_currency"_L1));
    model->setRidIrevuGoal(readDouble(object, "net_worth_goal"_L1));
    return model;
}

} // namespace

bool ModelReadResult::hasUnreadableParts() const
{
    return unreadableRecords + unreadableCategories + unreadableTags + unreadableValues
        + unreadableTagReferences
        > 0;
}

QString ModelReadResult::unreadableSummary() const
{
    QStringList parts;
    const auto add = [&parts](int count, const char* one, const char* many) {
        if (count == 1)
            parts.append(platform::localized(one));
        else if (count > 1)
            parts.append(platform::localized(many).arg(count));
    };
    add(unreadableRecords, "1 record could not be read", "%1 records could not be read");
    add(unreadableCategories, "1 category could not be read", "%1 categories could not be read");
    add(unreadableTags, "1 tag could not be read", "%1 tags could not be read");
    add(unreadableValues, "1 category value could not be read", "%1 category values could not be read");
    add(unreadableTagReferences, "1 tag reference of a category could not be read",
        "%1 tag references of categories could not be read");
    return parts.join(u"; "_s);
}

ModelReadResult ImportModel::read(const QByteArray& bytes)
{
    ModelReadResult result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error
            = platform::localized("Missing JSON dictionary: the file is not a JSON document (%1 at byte %2).")
                  .arg(parseError.errorString())
                  .arg(parseError.offset);
        return result;
    }
    if (!document.isObject()) {
        result.error
            = platform::localized("Missing JSON dictionary: the file holds a JSON list, not an object.");
        return result;
    }
    try {
        Reader reader(result);
        result.model = reader.model(document.object());
    } catch (const Unreadable& problem) {
        result = ModelReadResult();
        result.error = platform::localized("Invalid JSON dictionary: \"%1\" holds %2.")
                           .arg(problem.key, problem.found);
    } catch (const std::bad_alloc&) {
        result = ModelReadResult();
        result.error = platform::localized("Error opening data file.");
    }
    return result;
}

ModelReadResult ImportModel::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ModelReadResult result;
        result.error = platform::localized("Error opening data file.") + u' ' + file.errorString();
        return result;
    }
    return read(file.readAll());
}

std::shared_ptr<MVX_Model> ImportModel::open(const QString& path, QString& error) const
{
    ModelReadResult result = readFile(path);
    error = result.error;
    return result.model;
}
