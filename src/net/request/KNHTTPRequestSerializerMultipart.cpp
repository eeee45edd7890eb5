// The serializer's multipart operations: a request with a streamed multipart body, and
// the same body copied into a file.
#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNQueryString.h"
#include "net/request/KNStreamingMultipartFormData.h"

#include "platform/Dispatch.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace net {

namespace {

bool isNullMarker(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

Error bodyError(const QString& reason, const QUrl& url = {})
{
    QVariantMap info { { localizedDescriptionKey, reason }, { localizedFailureReasonErrorKey, reason } };
    if (url.isValid())
        info.insert(failingURLErrorKey, url);
    return Error(KNURLRequestSerializationErrorDomain, badURL, std::move(info));
}

/// Copies `input` into the file at `path` through a temporary file that takes its place
/// only when every byte was copied: a failed copy leaves whatever was there before.
std::optional<Error> copyIntoFile(QIODevice& input, const QUrl& fileURL)
{
    const QString path = fileURL.toLocalFile();
    const auto writeFailure = [&](const platform::AtomicFileDevice& device) {
        return urlError(cannotWriteToFile, fileURL,
            platform::Strings::tr("The file \"%1\" could not be written: %2")
                .arg(path, platform::describeFileError(device.errorNumber(), device.errorString())));
    };
    if (!input.isOpen() && !input.open(QIODevice::ReadOnly))
        return bodyError(input.errorString(), fileURL);
    const std::unique_ptr<platform::AtomicFileDevice> output = platform::makeAtomicFileDevice(path);
    if (!output->open())
        return writeFailure(*output);
    const QFileInfo existing(path);
    if (!output->setPermissions(existing.isFile() ? QFile::permissions(path) : platform::privateFileMode)) {
        output->cancel();
        return writeFailure(*output);
    }
    const auto* body = qobject_cast<KNMultipartBodyStream*>(&input);
    char buffer[1024];
    while (true) {
        const qint64 count = input.read(buffer, sizeof buffer);
        if (count < 0 || (body && body->hasFailed())) {
            if (input.atEnd() && !(body && body->hasFailed()))
                break;
            output->cancel();
            return bodyError(input.errorString(), fileURL);
        }
        if (count == 0) {
            if (input.atEnd())
                break;
            // A device in the body has nothing yet; the wait gives up after a while
            // rather than hold a worker for ever.
            if (!input.waitForReadyRead(30000)) {
                output->cancel();
                return bodyError(platform::Strings::tr("The body of a part stopped arriving."), fileURL);
            }
            continue;
        }
        const qint64 written = output->write(QByteArrayView(buffer, count));
        if (written != count) {
            output->cancel();
            return writeFailure(*output);
        }
    }
    if (!output->flush() || !output->commit()) {
        output->cancel();
        return writeFailure(*output);
    }
    return std::nullopt;
}

} // namespace

std::optional<URLRequest> KNHTTPRequestSerializer::multipartFormRequestWithMethod(const QByteArray& method,
    const QString& URLString, const QVariantMap& parameters, const MultipartBodyBlock& block,
    std::optional<Error>* error)
{
    std::optional<URLRequest> request = requestWithMethod(method, URLString, QVariant(), error);
    if (!request)
        return std::nullopt;
    KNStreamingMultipartFormData formData(*request, QStringConverter::Utf8);
    for (const KNQueryStringPair& pair : KNQueryPairsFromDictionary(parameters)) {
        const QVariant& value = pair.value();
        std::optional<QByteArray> data;
        if (value.metaType() == QMetaType::fromType<QByteArray>())
            data = value.toByteArray();
        else if (isNullMarker(value) || !value.isValid())
            data = QByteArray();
        else
            data = KNEncodeText(KNQueryValueDescription(value), stringEncoding());
        if (!data) {
            // Leaving the field out would send a different form than the caller built.
            if (error)
                *error = bodyError(platform::Strings::tr("The parameter \"%1\" cannot be written in %2.")
                                       .arg(KNQueryValueDescription(pair.field()), stringEncoding()));
            return std::nullopt;
        }
        formData.appendPartWithFormData(*data, KNQueryValueDescription(pair.field()));
    }
    if (block)
        block(formData);
    if (formData.error()) {
        if (error)
            *error = formData.error();
        return std::nullopt;
    }
    if (error)
        error->reset();
    return formData.requestByFinalizingMultipartFormData();
}

URLRequest KNHTTPRequestSerializer::requestWithMultipartFormRequest(const URLRequest& request,
    const QUrl& fileURL, std::function<void(const std::optional<Error>&)> completionHandler)
{
    URLRequest copy = request;
    const std::shared_ptr<QIODevice> input = request.httpBodyStream();
    if (!input)
        return copy;
    copy.setHttpBodyStream(nullptr);
    platform::runInBackground([input, fileURL, completionHandler = std::move(completionHandler)] {
        std::optional<Error> failure = fileURL.isLocalFile()
            ? copyIntoFile(*input, fileURL)
            : bodyError(platform::Strings::tr("Expected URL to be a file URL"), fileURL);
        input->close();
        if (completionHandler)
            platform::runOnMain([completionHandler, failure] { completionHandler(failure); });
    });
    return copy;
}

} // namespace net
