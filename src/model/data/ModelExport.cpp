#include "model/data/ModelExport.h"

#include "model/data/ModelJSONWriter.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

const QString ModelExport::exportPathKey = u"exportPath"_s;

std::optional<QString> ModelExport::flushToDisk(const QString& path)
{
    if (!m_archive)
        return platform::localized("There is no data to save yet.");
    m_archive->setVersion(MVX_Model::applicationShortVersion());
    QString error;
    const std::optional<QByteArray> bytes = ModelJSONWriter::toJSON(*m_archive, &error);
    if (!bytes)
        return error;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return platform::localized("The file \"%1\" could not be written: %2").arg(path, reason);
    }
    return std::nullopt;
}

QString ModelExport::getSuggestedPath()
{
    // Plain paths here: there are no security-scoped bookmarks to resolve.
    const QString path = platform::UserDefaults::standard().string(exportPathKey);
    return path.isEmpty() ? QString() : path;
}
