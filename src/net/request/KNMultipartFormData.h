#pragma once

#include "net/core/NetError.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace net {

/// What a multipart request's construction block may append to the body. Parts go out in
/// the order they were appended; names and file names are written as given, unescaped.
class KNMultipartFormData {
public:
    /// Header fields of one part, written in this order.
    using Headers = QList<QPair<QString, QString>>;

    virtual ~KNMultipartFormData() = default;

    /// A file part named after the file, its MIME type taken from the file's extension
    /// ("application/octet-stream" when unknown). False, with an error in `error` when
    /// given, for an address that is not a file or a file that cannot be read.
    virtual bool appendPartWithFileURL(const QUrl& fileURL, const QString& name, std::optional<Error>* error)
        = 0;
    virtual bool appendPartWithFileURL(const QUrl& fileURL, const QString& name, const QString& fileName,
        const QString& mimeType, std::optional<Error>* error)
        = 0;
    /// A part whose body is read from `inputStream` while sending; `length` is its size in bytes.
    virtual void appendPartWithInputStream(std::shared_ptr<QIODevice> inputStream, const QString& name,
        const QString& fileName, qint64 length, const QString& mimeType)
        = 0;
    virtual void appendPartWithFileData(
        const QByteArray& data, const QString& name, const QString& fileName, const QString& mimeType)
        = 0;
    /// A plain form field.
    virtual void appendPartWithFormData(const QByteArray& data, const QString& name) = 0;
    virtual void appendPartWithHeaders(const Headers& headers, const QByteArray& body) = 0;
    /// Reads of the body stop after `numberOfBytes` and pause `delay` seconds after each part read.
    virtual void throttleBandwidthWithPacketSize(quint64 numberOfBytes, double delay) = 0;
};

} // namespace net
