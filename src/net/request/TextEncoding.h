#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace net {

/// Encodes text in one named encoding, refusing characters it cannot represent instead of
/// replacing them. Opened once, it encodes any number of texts.
class TextEncoder {
public:
    /// None for an encoding name neither Qt nor ICU knows.
    static std::optional<TextEncoder> open(const QString& encodingName);

    TextEncoder(TextEncoder&&) noexcept;
    TextEncoder& operator=(TextEncoder&&) noexcept;
    ~TextEncoder();

    /// None when a character (or a lone surrogate) has no form in the encoding.
    std::optional<QByteArray> encode(QStringView text);

private:
    struct Converter;
    explicit TextEncoder(std::unique_ptr<Converter> converter);
    std::unique_ptr<Converter> m_converter;
};

/// `text` transliterated to Latin and then to ASCII, dropping what has no ASCII form; `text`
/// itself when the transliteration is not available.
QString KNTransliteratedToASCII(const QString& text);

} // namespace net
