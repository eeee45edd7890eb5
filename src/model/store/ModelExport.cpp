#include "model/store/ModelExport.h"

#include "model/data/ModelJSONWriter.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

using namespace Qt::Literals::StringLiterals;

const QString ModelExport::exportPathKey = u"exportPath"_s;

platform::MaybeError ModelExport::flushToDisk(const QString& path)
{
    if (!m_archive)
        return platform::Strings::tr("There is no data to save yet.");
    m_archive->setVersion(MVX_Model::applicationShortVersion());
    const platform::Expected<QByteArray> bytes = ModelJSONWriter::toJSON(*m_archive);
    if (!bytes)
        return bytes.error();
    return platform::writeFileAtomically(path, *bytes);
}

QString ModelExport::getSuggestedPath()
{
    // Plain paths here: there are no security-scoped bookmarks to resolve.
    const QString path = platform::UserDefaults::standard().string(exportPathKey);
    return path.isEmpty() ? QString() : path;
}
