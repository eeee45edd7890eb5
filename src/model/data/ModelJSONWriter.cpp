#include "model/data/ModelJSONWriter.h"

#include "platform/Strings.h"

#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The bytes a byte of a string takes in the document: itself, a short escape, or \u00XX.
constexpr int escapedLength(unsigned char c)
{
    if (c >= 0x20 && c != '"' && c != '\\')
        return 1;
    switch (c) {
    case '"':
    case '\\':
    case '\n':
    case '\r':
    case '\t':
    case '\b':
    case '\f':
        return 2;
    default:
        return 6;
    }
}

struct NotFinite {
    const char* key;
};

class Writer {
public:
    explicit Writer(QByteArray& out) : m_out(out) { }

    void model(const MVX_Model& model);

private:
    void key(const char* name, bool first = false)
    {
        if (!first)
            m_out.append(',');
        m_out.append('"').append(name).append("\":");
    }

    void string(const QString& text)
    {
        if (text.isNull()) {
            m_out.append("null");
            return;
        }
        const QByteArray utf8 = text.toUtf8();
        m_out.append('"');
        qsizetype plainStart = 0;
        for (qsizetype i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (escapedLength(c) == 1)
                continue;
            m_out.append(utf8.constData() + plainStart, i - plainStart);
            plainStart = i + 1;
            switch (c) {
            case '"':
                m_out.append("\\\"");
                break;
            case '\\':
                m_out.append("\\\\");
                break;
            case '\n':
                m_out.append("\\n");
                break;
            case '\r':
                m_out.append("\\r");
                break;
            case '\t':
                m_out.append("\\t");
                break;
            case '\b':
                m_out.append("\\b");
                break;
            case '\f':
                m_out.append("\\f");
                break;
            default: {
                static constexpr char hex[] = "0123456789abcdef";
                const char escape[] = { '\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xf] };
                m_out.append(escape, sizeof escape);
            }
            }
        }
        m_out.append(utf8.constData() + plainStart, utf8.size() - plainStart);
        m_out.append('"');
    }

    template <typename Integer> void integer(Integer value)
    {
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        m_out.append(buffer, end - buffer);
    }

    template <typename Integer> void integer(const std::optional<Integer>& value)
    {
        if (value)
            integer(*value);
        else
            m_out.append("null");
    }

    void number(const std::optional<double>& value, const char* name)
    {
        if (!value) {
            m_out.append("null");
            return;
        }
        if (!std::isfinite(*value))
            throw NotFinite { name };
        char buffer[ModelJSONWriter::maxNumberLength];
        m_out.append(buffer, ModelJSONWriter::numberText(*value, buffer));
    }

    void flag(bool value) { m_out.append(value ? '1' : '0'); }

    template <typename T, typename WriteElement>
    void list(const std::optional<QList<std::shared_ptr<T>>>& items, WriteElement writeElement)
    {
        if (!items) {
            m_out.append("null");
            return;
        }
        m_out.append('[');
        bool first = true;
        for (const auto& item : *items) {
            if (!item)
                continue;
            if (!first)
                m_out.append(',');
            first = false;
            writeElement(*item);
        }
        m_out.append(']');
    }

    void value(const MVX_CategoryLog& log);
    void record(const MVX_NWLog& log);
    void category(const MVX_Category& category);
    void tag(const MVX_Tags& tag);

    QByteArray& m_out;
};

void Writer::value(const MVX_CategoryLog& log)
{
    m_out.append('{');
    key("cat", true);
    string(log.categoryID());
    key("year");
    integer(log.year());
    key("month");
    integer(log.month());
    key("value");
    number(log.value(), "value");
    key("exch");
    number(log.exchangeRate(), "exch");
    key("fvalue");
    number(log.foreignValue(), "fvalue");
    m_out.append('}');
}

void Writer::record(const MVX_NWLog& log)
{
    m_out.append('{');
    key("year", true);
    integer(log.year());
    key("month");
    integer(log.month());
    key("TS");
    integer(log.TS());
    key("note");
    string(log.note());
    key("assets");
    number(log.assets(), "assets");
    key("liabilities");
    number(log.liabilities(), "liabilities");
    key("nw");
    number(log.nw(), "nw");
    key("a_logs");
    list(log.assetLogs(), [this](const MVX_CategoryLog& v) { value(v); });
    key("l_logs");
    list(log.liabilityLogs(), [this](const MVX_CategoryLog& v) { value(v); });
    key("gold");
    number(log.gold(), "gold");
    key("bitcoin");
    number(log.bitcoin(), "bitcoin");
    m_out.append('}');
}

void Writer::category(const MVX_Category& category)
{
    m_out.append('{');
    key("ID", true);
    string(category.ID());
    key("name");
    string(category.categoryName());
    key("desc");
    string(category.desc());
    key("is_foreign");
    flag(category.isForeignCurrency());
    key("currency");
    string(category.currency());
    key("tags");
    if (const auto& tags = category.tags()) {
        m_out.append('[');
        for (qsizetype i = 0; i < tags->size(); ++i) {
            if (i > 0)
                m_out.append(',');
            string(tags->at(i).isNull() ? QString(0, QChar()) : tags->at(i));
        }
        m_out.append(']');
    } else {
        m_out.append("null");
    }
    key("is_depreciable");
    flag(category.isDepreciable());
    key("depr_rate");
    number(category.depreciationRate(), "depr_rate");
    key("sort_order");
    integer(category.sortOrder());
    key("is_hidden");
    flag(category.isHidden());
    m_out.append('}');
}

void Writer::tag(const MVX_Tags& tag)
{
    m_out.append('{');
    key("ID", true);
    string(tag.ID());
    key("name");
    string(tag.name());
    key("desc");
    string(tag.desc());
    key("hexColorString");
    string(tag.hexColorString());
    m_out.append('}');
}

void Writer::model(const MVX_Model& model)
{
    const auto writeCategory = [this](const MVX_Category& c) { category(c); };
    m_out.append('{');
    key("version", true);
    string(model.version());
    key("a_cat");
    list(model.assetscat(), writeCategory);
    key("l_cat");
    list(model.liabilitycat(), writeCategory);
    key("nw_logs");
    list(model.nwLogArray(), [this](const MVX_NWLog& r) { record(r); });
    key("tags");
    list(model.tags(), [this](const MVX_Tags& t) { tag(t); });
    key("base_currency");
    string(model.baseCurrency());
    key("net_worth_goal");
    number(model.ridIrevuGoal(), "net_worth_goal");
    m_out.append('}');
}

qsizetype estimatedSize(const MVX_Model& model)
{
    qsizetype values = 0;
    qsizetype records = 0;
    if (const auto& logs = model.nwLogArray()) {
        records = logs->size();
        for (const auto& log : *logs) {
            if (log && log->assetLogs())
                values += log->assetLogs()->size();
            if (log && log->liabilityLogs())
                values += log->liabilityLogs()->size();
        }
    }
    return 4096 + records * 256 + values * 128;
}

} // namespace

int ModelJSONWriter::numberText(double value, char (&buffer)[maxNumberLength])
{
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-6 && magnitude < 1e21);
    const auto end = plain
        ? std::to_chars(buffer, buffer + maxNumberLength, value, std::chars_format::fixed).ptr
        : std::to_chars(buffer, buffer + maxNumberLength, value).ptr;
    return int(end - buffer);
}

qint64 ModelJSONWriter::stringLength(QByteArrayView utf8)
{
    qint64 length = 2;
    for (const char c : utf8)
        length += escapedLength(static_cast<unsigned char>(c));
    return length;
}

platform::Expected<QByteArray> ModelJSONWriter::toJSON(const MVX_Model& model)
{
    QByteArray out;
    out.reserve(estimatedSize(model));
    try {
        Writer(out).model(model);
    } catch (const NotFinite& problem) {
        return platform::Unexpected(
            platform::Strings::tr("The data could not be saved: \"%1\" holds a number that is not finite.")
                .arg(QString::fromLatin1(problem.key)));
    }
    return out;
}
