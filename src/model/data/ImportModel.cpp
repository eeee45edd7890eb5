#include "model/data/ImportModel.h"

#include "model/dates/DateUtilities.h"
#include "model/mapping/MAPJSONScanner.h"
#include "platform/Strings.h"

#include <QFile>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

using Kind = JSONScanner::Kind;

// A member of the document's object whose value has the wrong type fails the document.
struct TopLevelMismatch {
    std::string key;
    const char* found;
};

// Reads the document straight into the model classes. A value of the wrong type makes
// its element unreadable (the element is read to its end and then left out and counted);
// at the top level it fails the document.
class DocumentReader {
public:
    DocumentReader(JSONScanner& scanner, ModelReadResult& result) : m_in(scanner), m_result(result) { }

    std::shared_ptr<MVX_Model> model();

    // The member whose value had the wrong type last, for the error text.
    std::string mismatchKey;
    const char* mismatchFound = nullptr;

private:
    bool mismatch(std::string_view key, Kind found)
    {
        mismatchKey = std::string(key);
        mismatchFound = JSONScanner::describe(found);
        m_in.skipValue();
        return false;
    }

    bool string(std::string_view key, QString& out, JSONScanner::Interner* interner = nullptr)
    {
        switch (const Kind kind = m_in.peek()) {
        case Kind::Null:
            m_in.readNull();
            out = QString();
            return true;
        case Kind::String:
            out = m_in.readString(interner);
            return true;
        default:
            return mismatch(key, kind);
        }
    }

    bool number(std::string_view key, std::optional<double>& out)
    {
        switch (const Kind kind = m_in.peek()) {
        case Kind::Null:
            m_in.readNull();
            out = std::nullopt;
            return true;
        case Kind::Number:
            out = m_in.readNumber();
            if (!out) {
                mismatchKey = std::string(key);
                mismatchFound = "a number out of range";
            }
            return out.has_value();
        default:
            return mismatch(key, kind);
        }
    }

    // Integers are truncated toward zero, as a number read as an integer is.
    bool integer(std::string_view key, std::optional<int>& out)
    {
        std::optional<double> value;
        if (!number(key, value))
            return false;
        if (!value) {
            out = std::nullopt;
            return true;
        }
        const double whole = std::trunc(*value);
        if (!(whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())) {
            mismatchKey = std::string(key);
            mismatchFound = "a number out of range";
            return false;
        }
        out = static_cast<int>(whole);
        return true;
    }

    bool flag(std::string_view key, bool& out)
    {
        switch (const Kind kind = m_in.peek()) {
        case Kind::Null:
            m_in.readNull();
            out = false;
            return true;
        case Kind::Boolean:
            out = m_in.readBoolean();
            return true;
        case Kind::Number: {
            const std::optional<double> value = m_in.readNumber();
            out = !value || *value != 0.0;
            return true;
        }
        default:
            return mismatch(key, kind);
        }
    }

    template <typename T, typename ReadElement>
    bool list(std::string_view key, std::optional<QList<std::shared_ptr<T>>>& out, int& unreadable,
        ReadElement readElement)
    {
        const Kind kind = m_in.peek();
        if (kind == Kind::Null) {
            m_in.readNull();
            out = std::nullopt;
            return true;
        }
        if (kind != Kind::Array)
            return mismatch(key, kind);
        QList<std::shared_ptr<T>> items;
        m_in.beginArray();
        for (bool first = true; m_in.nextElement(first);) {
            if (m_in.peek() != Kind::Object) {
                m_in.skipValue();
                ++unreadable;
            } else if (std::shared_ptr<T> item = readElement()) {
                items.append(std::move(item));
            } else {
                ++unreadable;
            }
        }
        out = std::move(items);
        return true;
    }

    bool tagIDs(std::string_view key, std::optional<QStringList>& out)
    {
        const Kind kind = m_in.peek();
        if (kind == Kind::Null) {
            m_in.readNull();
            out = std::nullopt;
            return true;
        }
        if (kind != Kind::Array)
            return mismatch(key, kind);
        QStringList ids;
        m_in.beginArray();
        for (bool first = true; m_in.nextElement(first);) {
            if (m_in.peek() == Kind::String) {
                ids.append(m_in.readString(&m_ids));
            } else {
                m_in.skipValue();
                ++m_result.unreadableTagReferences;
            }
        }
        out = std::move(ids);
        return true;
    }

    // Walks one object, handing each member to `member(key)`, which reads its value and
    // returns false when it had the wrong type. Returns false when any member did.
    template <typename Member> bool object(Member member)
    {
        bool readable = true;
        std::string_view key;
        m_in.beginObject();
        for (bool first = true; m_in.nextMember(first, key);) {
            if (!member(key))
                readable = false;
        }
        return readable;
    }

    std::shared_ptr<MVX_CategoryLog> value();
    std::shared_ptr<MVX_NWLog> record();
    std::shared_ptr<MVX_Category> category();
    std::shared_ptr<MVX_Tags> tag();

    JSONScanner& m_in;
    ModelReadResult& m_result;
    JSONScanner::Interner m_ids;
};

std::shared_ptr<MVX_CategoryLog> DocumentReader::value()
{
    auto log = std::make_shared<MVX_CategoryLog>();
    const bool readable = object([&](std::string_view key) {
        QString text;
        std::optional<double> number;
        std::optional<int> whole;
        if (key == "cat")
            return string(key, text, &m_ids) && (log->setCategoryID(text), true);
        if (key == "year")
            return integer(key, whole) && (log->setYear(whole), true);
        if (key == "month")
            return integer(key, whole) && (log->setMonth(whole), true);
        if (key == "value")
            return this->number(key, number) && (log->setValue(number), true);
        if (key == "exch")
            return this->number(key, number) && (log->setExchangeRate(number), true);
        if (key == "fvalue")
            return this->number(key, number) && (log->setForeignValue(number), true);
        m_in.skipValue();
        return true;
    });
    return readable ? log : nullptr;
}

std::shared_ptr<MVX_NWLog> DocumentReader::record()
{
    auto log = std::make_shared<MVX_NWLog>();
    // Counted only once the record itself was read: a dropped record drops its values too.
    int unreadableValues = 0;
    const auto readValue = [this] { return value(); };
    const bool readable = object([&](std::string_view key) {
        QString text;
        std::optional<double> number;
        std::optional<int> whole;
        if (key == "year")
            return integer(key, whole) && (log->setYear(whole), true);
        if (key == "month")
            return integer(key, whole) && (log->setMonth(whole), true);
        if (key == "note")
            return string(key, text) && (log->setNote(text), true);
        if (key == "assets")
            return this->number(key, number) && (log->setAssets(number), true);
        if (key == "liabilities")
            return this->number(key, number) && (log->setLiabilities(number), true);
        if (key == "nw")
            return this->number(key, number) && (log->setNw(number), true);
        if (key == "gold")
            return this->number(key, number) && (log->setGold(number), true);
        if (key == "bitcoin")
            return this->number(key, number) && (log->setBitcoin(number), true);
        if (key == "a_logs")
            return list(key, log->assetLogs(), unreadableValues, readValue);
        if (key == "l_logs")
            return list(key, log->liabilityLogs(), unreadableValues, readValue);
        m_in.skipValue();
        return true;
    });
    if (!readable)
        return nullptr;
    // The day number always follows from year and month; the file's own is never used.
    log->setTS(DateUtilities::dayNumber(log->year().value_or(0), log->month().value_or(0)));
    m_result.unreadableValues += unreadableValues;
    return log;
}

std::shared_ptr<MVX_Category> DocumentReader::category()
{
    auto category = std::make_shared<MVX_Category>();
    const int tagReferencesBefore = m_result.unreadableTagReferences;
    const bool readable = object([&](std::string_view key) {
        QString text;
        std::optional<double> number;
        std::optional<int> whole;
        bool yes = false;
        if (key == "ID")
            return string(key, text, &m_ids) && (category->setID(text), true);
        if (key == "name")
            return string(key, text) && (category->setCategoryName(text), true);
        if (key == "desc")
            return string(key, text) && (category->setDesc(text), true);
        if (key == "is_foreign")
            return flag(key, yes) && (category->setIsForeignCurrency(yes), true);
        if (key == "currency")
            return string(key, text) && (category->setCurrency(text), true);
        if (key == "tags")
            return tagIDs(key, category->tags());
        if (key == "is_depreciable")
            return flag(key, yes) && (category->setIsDepreciable(yes), true);
        if (key == "depr_rate")
            return this->number(key, number) && (category->setDepreciationRate(number), true);
        if (key == "sort_order")
            return integer(key, whole) && (category->setSortOrder(whole.value_or(0)), true);
        if (key == "is_hidden")
            return flag(key, yes) && (category->setIsHidden(yes), true);
        m_in.skipValue();
        return true;
    });
    if (!readable) {
        m_result.unreadableTagReferences = tagReferencesBefore;
        return nullptr;
    }
    return category;
}

std::shared_ptr<MVX_Tags> DocumentReader::tag()
{
    auto tag = std::make_shared<MVX_Tags>();
    const bool readable = object([&](std::string_view key) {
        QString text;
        if (key == "ID")
            return string(key, text, &m_ids) && (tag->setID(text), true);
        if (key == "name")
            return string(key, text) && (tag->setName(text), true);
        if (key == "desc")
            return string(key, text) && (tag->setDesc(text), true);
        if (key == "hexColorString")
            return string(key, text) && (tag->setHexColorString(text), true);
        m_in.skipValue();
        return true;
    });
    return readable ? tag : nullptr;
}

std::shared_ptr<MVX_Model> DocumentReader::model()
{
    auto model = std::make_shared<MVX_Model>();
    const bool readable = object([&](std::string_view key) {
        QString text;
        std::optional<double> number;
        bool ok = true;
        if (key == "version")
            ok = string(key, text) && (model->setVersion(text), true);
        else if (key == "a_cat")
            ok = list(key, model->assetscat(), m_result.unreadableCategories, [this] { return category(); });
        else if (key == "l_cat")
            ok = list(
                key, model->liabilitycat(), m_result.unreadableCategories, [this] { return category(); });
        else if (key == "nw_logs")
            ok = list(key, model->nwLogArray(), m_result.unreadableRecords, [this] { return record(); });
        else if (key == "tags")
            ok = list(key, model->tags(), m_result.unreadableTags, [this] { return tag(); });
        else if (key == "base_currency")
            ok = string(key, text) && (model->setBaseCurrency(text), true);
        else if (key == "net_worth_goal")
            ok = this->number(key, number) && (model->setRidIrevuGoal(number), true);
        else
            m_in.skipValue();
        if (!ok)
            throw TopLevelMismatch { mismatchKey, mismatchFound };
        return true;
    });
    Q_UNUSED(readable);
    if (model->version().isNull())
        model->setVersion(MVX_Model::applicationShortVersion());
    for (auto* list : { &model->assetscat(), &model->liabilitycat() }) {
        if (!*list)
            *list = MVX_CategoryList();
    }
    if (!model->nwLogArray())
        model->setNwLogArray(MVX_NWLogList());
    if (!model->tags())
        model->setTags(MVX_TagsList());
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
    JSONScanner scanner(bytes);
    try {
        if (scanner.peek() != Kind::Object) {
            scanner.skipValue();
            scanner.expectEnd();
            result.error = platform::localized(
                "Missing JSON dictionary: the file holds a JSON list or value, not an object.");
            return result;
        }
        DocumentReader reader(scanner, result);
        std::shared_ptr<MVX_Model> model = reader.model();
        scanner.expectEnd();
        result.model = std::move(model);
    } catch (const JSONScanner::SyntaxError& error) {
        result = ModelReadResult();
        result.error
            = platform::localized("Missing JSON dictionary: the file is not a JSON document (%1 at byte %2).")
                  .arg(QString::fromLatin1(error.what))
                  .arg(error.offset);
    } catch (const TopLevelMismatch& mismatch) {
        result = ModelReadResult();
        result.error = platform::localized("Invalid JSON dictionary: \"%1\" holds %2.")
                           .arg(QString::fromStdString(mismatch.key), QString::fromLatin1(mismatch.found));
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
