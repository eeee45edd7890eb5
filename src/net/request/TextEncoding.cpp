#include "net/request/TextEncoding.h"

#include <QStringEncoder>

#include <unicode/ucnv.h>
#include <unicode/utrans.h>

#include <algorithm>
#include <string>
#include <variant>

namespace net {
namespace {

struct ICUCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ICUConverter = std::unique_ptr<UConverter, ICUCloser>;

} // namespace

// Qt's encoders cover the Unicode forms and Latin-1 (and report what they had to replace);
// everything else goes through ICU with a callback that stops at the first such character.
struct TextEncoder::Converter {
    std::variant<QStringConverter::Encoding, ICUConverter> converter;
};

TextEncoder::TextEncoder(std::unique_ptr<Converter> converter) : m_converter(std::move(converter))
{
}
TextEncoder::TextEncoder(TextEncoder&&) noexcept = default;
TextEncoder& TextEncoder::operator=(TextEncoder&&) noexcept = default;
TextEncoder::~TextEncoder() = default;

std::optional<TextEncoder> TextEncoder::open(const QString& encodingName)
{
    const QByteArray latin1 = encodingName.trimmed().toLatin1();
    if (latin1.isEmpty() || latin1.contains('\0'))
        return std::nullopt;
    const auto qtEncoding = QStringConverter::encodingForName(latin1.constData());
    if (qtEncoding && *qtEncoding != QStringConverter::System)
        return TextEncoder(std::make_unique<Converter>(Converter { *qtEncoding }));
    UErrorCode status = U_ZERO_ERROR;
    ICUConverter converter(ucnv_open(latin1.constData(), &status));
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return TextEncoder(std::make_unique<Converter>(Converter { std::move(converter) }));
}

std::optional<QByteArray> TextEncoder::encode(QStringView text)
{
    if (const auto* encoding = std::get_if<QStringConverter::Encoding>(&m_converter->converter)) {
        // Qt's encoders pass lone surrogates through and put "?" for what Latin-1 lacks.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (*encoding == QStringConverter::Latin1 && c.unicode() > 0xFF)
                return std::nullopt;
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                return std::nullopt;
        }
        QStringEncoder encoder(*encoding, QStringConverter::Flag::Stateless);
        QByteArray bytes = encoder.encode(text);
        if (encoder.hasError())
            return std::nullopt;
        return bytes;
    }
    UConverter* converter = std::get<ICUConverter>(m_converter->converter).get();
    ucnv_resetFromUnicode(converter);
    if (text.isEmpty())
        return QByteArray();
    QByteArray bytes(
        UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter)), Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
        reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.truncate(length);
    return bytes;
}

QString KNTransliteratedToASCII(const QString& text)
{
    static const QString rules = QStringLiteral("Any-Latin; Latin-ASCII; [:^ASCII:] Remove");
    UErrorCode status = U_ZERO_ERROR;
    UTransliterator* transliterator = utrans_openU(reinterpret_cast<const UChar*>(rules.utf16()),
        int32_t(rules.size()), UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    if (U_FAILURE(status))
        return text;
    // Transliteration to Latin can lengthen a text several times over; grow until it fits.
    QString result = text;
    int32_t capacity = int32_t(text.size()) * 4 + 16;
    for (;;) {
        std::u16string buffer(size_t(capacity), u'\0');
        std::copy(text.utf16(), text.utf16() + text.size(), buffer.begin());
        int32_t length = int32_t(text.size());
        int32_t limit = length;
        status = U_ZERO_ERROR;
        utrans_transUChars(
            transliterator, reinterpret_cast<UChar*>(buffer.data()), &length, capacity, 0, &limit, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR && capacity < (1 << 20)) {
            capacity = std::max(capacity * 2, length + 16);
            continue;
        }
        if (U_SUCCESS(status))
            result = QString::fromUtf16(buffer.data(), length);
        break;
    }
    utrans_close(transliterator);
    return result;
}

} // namespace net
