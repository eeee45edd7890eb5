#include "net/serialization/TextDecoding.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>

#include <limits>
#include <memory>

namespace net {
namespace {

// Qt's own decoders cover the Unicode forms and Latin-1; everything else goes through ICU.
std::optional<QStringConverter::Encoding> qtEncoding(const QString& name)
{
    const auto encoding = QStringConverter::encodingForName(name.toLatin1().constData());
    if (!encoding || *encoding == QStringConverter::System)
        return std::nullopt;
    return encoding;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU opens its default converter for an empty name; that is not a name the caller gave.
Converter icuConverter(const QString& name)
{
    const QByteArray latin1 = name.trimmed().toLatin1();
    if (latin1.isEmpty() || latin1.contains('\0'))
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(latin1.constData(), &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

} // namespace

bool isKnownTextEncoding(const QString& encodingName)
{
    return qtEncoding(encodingName) || icuConverter(encodingName);
}

std::optional<QString> decodeText(const QByteArray& bytes, const QString& encodingName)
{
    if (const auto encoding = qtEncoding(encodingName)) {
        QStringDecoder decoder(*encoding);
        QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    Converter converter = icuConverter(encodingName);
    if (!converter)
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    if (bytes.size() > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    // Measure first: the number of UTF-16 units per byte differs between encodings.
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length
        = ucnv_toUChars(converter.get(), nullptr, 0, bytes.constData(), int32_t(bytes.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter.get());
    ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()), length, bytes.constData(),
        int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace net
