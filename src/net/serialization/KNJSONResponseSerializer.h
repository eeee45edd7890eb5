#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

/// Accepts "application/json", "text/json" and "text/javascript" and hands back the parsed
/// value: `QVariantMap`, `QVariantList`, numbers, strings, bools, and JSON null as a
/// `QVariant` holding `std::nullptr_t` (the null marker).
///
/// The body is read as text in the encoding the response names (when it is a known one),
/// else in `stringEncoding`. A body of exactly one space, or one that is empty, gives no
/// object and no decoding error; a body that is not text in its encoding or not JSON gives
/// no object and a `net::cannotDecodeContentData` error carrying the body.
class KNJSONResponseSerializer : public KNHTTPResponseSerializer {
public:
    /// Reading option: a top-level value that is neither an object nor an array is accepted.
    static constexpr quint64 allowFragments = 4;

    explicit KNJSONResponseSerializer(quint64 readingOptions = 0);

    static std::shared_ptr<KNJSONResponseSerializer> serializer();
    static std::shared_ptr<KNJSONResponseSerializer> serializerWithReadingOptions(quint64 readingOptions);

    quint64 readingOptions() const { return m_readingOptions; }
    void setReadingOptions(quint64 options) { m_readingOptions = options; }
    /// Whether keys whose value is null are taken out of every object of the result.
    bool removesKeysWithNullValues() const { return m_removesKeysWithNullValues; }
    void setRemovesKeysWithNullValues(bool removes) { m_removesKeysWithNullValues = removes; }

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    std::shared_ptr<KNHTTPResponseSerializer> clone() const override;
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;

private:
    quint64 m_readingOptions = 0;
    bool m_removesKeysWithNullValues = false;
};

/// `object` without the keys whose value is the null marker, in every object at any depth
/// (lists are walked; nulls inside lists stay). Other values are returned as they are.
/// Values are copies, so `readingOptions` changes nothing here.
QVariant KNJSONRemovingNullValues(const QVariant& object, quint64 readingOptions);
