#include "model/data/ImportModel.h"

#include "model/dates/DateUtilities.h"
#include "model/mapping/MAPJSONScanner.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <cmath>
#include <limits>
#include <type_traits>

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

    // Reads an array (null reads as absent), handing `element(items)` each element to read
    // or skip.
    template <typename Items, typename Element>
    bool array(std::string_view key, std::optional<Items>& out, Element element)
    {
        const Kind kind = m_in.peek();
        if (kind == Kind::Null) {
            m_in.readNull();
            out = std::nullopt;
            return true;
        }
        if (kind != Kind::Array)
            return mismatch(key, kind);
        Items items;
        m_in.beginArray();
        for (bool first = true; m_in.nextElement(first);)
            element(items);
        out = std::move(items);
        return true;
    }

    template <typename T, typename ReadElement>
    bool list(std::string_view key, std::optional<QList<std::shared_ptr<T>>>& out, int& unreadable,
        ReadElement readElement)
    {
        return array(key, out, [&](QList<std::shared_ptr<T>>& items) {
            if (m_in.peek() != Kind::Object) {
                m_in.skipValue();
                ++unreadable;
            } else if (std::shared_ptr<T> item = readElement()) {
                items.append(std::move(item));
            } else {
                ++unreadable;
            }
        });
    }

    bool tagIDs(std::string_view key, std::optional<QStringList>& out)
    {
        return array(key, out, [this](QStringList& ids) {
            if (m_in.peek() == Kind::String) {
                ids.append(m_in.readString(&m_ids));
            } else {
                m_in.skipValue();
                ++m_result.unreadableTagReferences;
            }
        });
    }

    bool read(std::string_view key, QString& out) { return string(key, out); }
    bool read(std::string_view key, std::optional<double>& out) { return number(key, out); }
    bool read(std::string_view key, std::optional<int>& out) { return integer(key, out); }
    bool read(std::string_view key, bool& out) { return flag(key, out); }

    // Reads a member as the type its setter takes (text, number, integer or flag) and sets
    // it when the value has that type.
    template <typename Object, typename Value>
    bool field(std::string_view key, Object& object, void (Object::*set)(Value))
    {
        std::remove_cvref_t<Value> value {};
        if (!read(key, value))
            return false;
        (object.*set)(std::move(value));
        return true;
    }

    // IDs are interned: the values and categories that refer to one name it again.
    template <typename Object>
    bool id(std::string_view key, Object& object, void (Object::*set)(const QString&))
    {
        QString text;
        if (!string(key, text, &m_ids))
            return false;
        (object.*set)(text);
        return true;
    }

    // Walks one object, handing each member to `member(key)`, which reads its value and
    // returns false when it had the wrong type. Returns false when any member did.
    template <typename Member> bool object(Member member)
    {
        bool readable = true;
        std::string_view key;
        JSONScanner::MemberNames names;
        m_in.beginObject();
        for (bool first = true; m_in.nextMember(first, key, names);) {
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
        if (key == "cat")
            return id(key, *log, &MVX_CategoryLog::setCategoryID);
        if (key == "year")
            return field(key, *log, &MVX_CategoryLog::setYear);
        if (key == "month")
            return field(key, *log, &MVX_CategoryLog::setMonth);
        if (key == "value")
            return field(key, *log, &MVX_CategoryLog::setValue);
        if (key == "exch")
            return field(key, *log, &MVX_CategoryLog::setExchangeRate);
        if (key == "fvalue")
            return field(key, *log, &MVX_CategoryLog::setForeignValue);
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
        if (key == "year")
            return field(key, *log, &MVX_NWLog::setYear);
        if (key == "month")
            return field(key, *log, &MVX_NWLog::setMonth);
        if (key == "note")
            return field(key, *log, &MVX_NWLog::setNote);
        if (key == "assets")
            return field(key, *log, &MVX_NWLog::setAssets);
        if (key == "liabilities")
            return field(key, *log, &MVX_NWLog::setLiabilities);
        if (key == "nw")
            return field(key, *log, &MVX_NWLog::setNw);
        if (key == "gold")
            return field(key, *log, &MVX_NWLog::setGold);
        if (key == "bitcoin")
            return field(key, *log, &MVX_NWLog::setBitcoin);
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
        if (key == "ID")
            return id(key, *category, &MVX_Category::setID);
        if (key == "name")
            return field(key, *category, &MVX_Category::setCategoryName);
        if (key == "desc")
            return field(key, *category, &MVX_Category::setDesc);
        if (key == "is_foreign")
            return field(key, *category, &MVX_Category::setIsForeignCurrency);
        if (key == "currency")
            return field(key, *category, &MVX_Category::setCurrency);
        if (key == "tags")
            return tagIDs(key, category->tags());
        if (key == "is_depreciable")
            return field(key, *category, &MVX_Category::setIsDepreciable);
        if (key == "depr_rate")
            return field(key, *category, &MVX_Category::setDepreciationRate);
        if (key == "sort_order") {
            std::optional<int> order;
            if (!integer(key, order))
                return false;
            category->setSortOrder(order.value_or(0));
            return true;
        }
        if (key == "is_hidden")
            return field(key, *category, &MVX_Category::setIsHidden);
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
        if (key == "ID")
            return id(key, *tag, &MVX_Tags::setID);
        if (key == "name")
            return field(key, *tag, &MVX_Tags::setName);
        if (key == "desc")
            return field(key, *tag, &MVX_Tags::setDesc);
        if (key == "hexColorString")
            return field(key, *tag, &MVX_Tags::setHexColorString);
        m_in.skipValue();
        return true;
    });
    return readable ? tag : nullptr;
}

std::shared_ptr<MVX_Model> DocumentReader::model()
{
    auto model = std::make_shared<MVX_Model>();
    const bool readable = object([&](std::string_view key) {
        bool ok = true;
        if (key == "version")
            ok = field(key, *model, &MVX_Model::setVersion);
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
            ok = field(key, *model, &MVX_Model::setBaseCurrency);
        else if (key == "net_worth_goal")
            ok = field(key, *model, &MVX_Model::setRidIrevuGoal);
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
    using platform::Strings;
    QStringList parts;
    if (unreadableRecords > 0)
        parts.append(Strings::tr("%n records could not be read", nullptr, unreadableRecords));
    if (unreadableCategories > 0)
        parts.append(Strings::tr("%n categories could not be read", nullptr, unreadableCategories));
    if (unreadableTags > 0)
        parts.append(Strings::tr("%n tags could not be read", nullptr, unreadableTags));
    if (unreadableValues > 0)
        parts.append(Strings::tr("%n category values could not be read", nullptr, unreadableValues));
    if (unreadableTagReferences > 0)
        parts.append(Strings::tr(
            "%n tag references of categories could not be read", nullptr, unreadableTagReferences));
    return parts.join(u"; "_s);
}

platform::Expected<ModelReadResult> ImportModel::read(const QByteArray& bytes)
{
    using platform::Strings;
    ModelReadResult result;
    JSONScanner scanner(bytes);
    try {
        if (scanner.peek() != Kind::Object) {
            scanner.skipValue();
            scanner.expectEnd();
            return platform::Unexpected(
                Strings::tr("Missing JSON dictionary: the file holds a JSON list or value, not an object."));
        }
        DocumentReader reader(scanner, result);
        std::shared_ptr<MVX_Model> model = reader.model();
        scanner.expectEnd();
        result.model = std::move(model);
    } catch (const JSONScanner::SyntaxError& error) {
        if (error.notUtf8)
            return platform::Unexpected(
                Strings::tr("Missing JSON dictionary: the file is not UTF-8 text (byte %1).")
                    .arg(error.offset));
        return platform::Unexpected(
            Strings::tr("Missing JSON dictionary: the file is not a JSON document (%1 at byte %2).")
                .arg(QString::fromLatin1(error.what))
                .arg(error.offset));
    } catch (const JSONScanner::RepeatedMember& repeated) {
        return platform::Unexpected(
            Strings::tr("Invalid JSON dictionary: the member \"%1\" appears twice (byte %2).")
                .arg(QString::fromStdString(repeated.name))
                .arg(repeated.offset));
    } catch (const TopLevelMismatch& mismatch) {
        return platform::Unexpected(
            Strings::tr("Invalid JSON dictionary: \"%1\" holds %2.")
                .arg(QString::fromStdString(mismatch.key), QString::fromLatin1(mismatch.found)));
    } catch (const std::bad_alloc&) {
        return platform::Unexpected(Strings::tr("Error opening data file."));
    }
    return result;
}

platform::Expected<ModelReadResult> ImportModel::readFile(const QString& path, qint64 maxBytes)
{
    const platform::Expected<platform::FileContents> contents = platform::readRegularFile(path, maxBytes);
    if (!contents)
        return platform::Unexpected(openingFailure(contents.error()));
    return read(contents->bytes);
}

QString ImportModel::openingFailure(const QString& reason)
{
    return platform::Strings::tr("Error opening data file.") + u' ' + reason;
}

platform::Expected<std::shared_ptr<MVX_Model>> ImportModel::open(const QString& path) const
{
    platform::Expected<ModelReadResult> result = readFile(path);
    if (!result)
        return platform::Unexpected(result.error());
    return std::move(result->model);
}
