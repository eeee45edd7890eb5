#pragma once

#include "net/core/Archiving.h"
#include "net/serialization/KNURLResponseSerialization.h"

#include <QSet>
#include <QVariantMap>

#include <memory>

/// Checks a response's status code and content type, and hands back the body unchanged.
/// The subclasses decode the body into an object; they start from the same checks.
///
/// Validation: with acceptable content types set, a response whose MIME type is not among
/// them fails, with an error (`net::cannotDecodeContentData`) only when the body is not
/// empty and the response has an address; with acceptable status codes set, a status
/// outside them fails with `net::badServerResponse`, carrying the content-type error as
/// its underlying error. Responses that are not HTTP (or no response) always pass.
class KNHTTPResponseSerializer : public KNURLResponseSerialization {
public:
    /// Archive key naming the class, so that `fromArchive` restores any serializer.
    static inline const QString archiveClassKey = net::archiveClassKey;

    KNHTTPResponseSerializer();
    ~KNHTTPResponseSerializer() override = default;

    static std::shared_ptr<KNHTTPResponseSerializer> serializer();

    /// The encoding (an IANA character-set name) a text body is read in when the response
    /// names none that is known; "UTF-8" unless set.
    const QString& stringEncoding() const { return m_stringEncoding; }
    void setStringEncoding(QString encoding) { m_stringEncoding = std::move(encoding); }
    /// 200 to 299 unless set; none accepts any status code.
    const std::optional<QSet<int>>& acceptableStatusCodes() const { return m_acceptableStatusCodes; }
    void setAcceptableStatusCodes(std::optional<QSet<int>> codes)
    {
        m_acceptableStatusCodes = std::move(codes);
    }
    /// MIME types in lower case; none (the base's default) accepts any content type.
    const std::optional<QSet<QString>>& acceptableContentTypes() const { return m_acceptableContentTypes; }
    void setAcceptableContentTypes(std::optional<QSet<QString>> types)
    {
        m_acceptableContentTypes = std::move(types);
    }

    /// Whether the response passes; `error`, when given, receives the validation error or
    /// none (a failed content-type check with an empty body leaves none).
    bool validateResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const;

    /// The body as a `QByteArray` (null without a body), whether the response passes or not.
    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    /// A new serializer of the same class. The base (and the XML parser serializer) copy
    /// the acceptable status codes and content types; the other subclasses start from their
    /// class defaults and copy only their own fields.
    virtual std::shared_ptr<KNHTTPResponseSerializer> clone() const;
    /// The acceptable status codes and content types (absent keys for none), a subclass's own
    /// fields and the class name. The string encoding is not kept.
    virtual QVariantMap archive() const;
    /// A serializer of the class the archive names, with that class's defaults overwritten
    /// by every archived field; null for an archive of no known class.
    static std::shared_ptr<KNHTTPResponseSerializer> fromArchive(const QVariantMap& archive);

protected:
    /// A new instance of the receiver's class with the class defaults.
    virtual std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const;
    virtual QString className() const;
    /// Sets the receiver's fields from an archive; a missing key sets the field to its
    /// empty or absent value, as the archive held none.
    virtual void restoreFromArchive(const QVariantMap& archive);

    /// The checks every decoding subclass runs first: false when decoding must not go on
    /// (the response failed and either there is no error slot or the failure is an
    /// unacceptable content type with a body). `error`, when given, holds the validation error.
    bool shouldDecode(const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data,
        std::optional<net::Error>* error) const;
    /// An error of the serialization domain with the response's address, the response and
    /// the body (when there is one).
    static net::Error serializationError(qint64 code, const QString& description,
        const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data);

private:
    QString m_stringEncoding = QStringLiteral("UTF-8");
    std::optional<QSet<int>> m_acceptableStatusCodes;
    std::optional<QSet<QString>> m_acceptableContentTypes;
};
