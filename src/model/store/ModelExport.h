#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QString>

#include <memory>
#include <optional>

/// Writes `archive()` as the data document, atomically, private to the user.
class ModelExport {
public:
    /// User default holding the location of the last backup file.
    static const QString exportPathKey;

    const std::shared_ptr<MVX_Model>& archive() const { return m_archive; }
    void setArchive(std::shared_ptr<MVX_Model> model) { m_archive = std::move(model); }

    /// Stamps the application's version into `archive()` and writes it to `path`
    /// atomically. Returns an error text when nothing or not all could be written.
    platform::MaybeError flushToDisk(const QString& path);
    /// The location of the last backup file (the user default "exportPath"), or a null
    /// string when none was remembered.
    static QString getSuggestedPath();

private:
    std::shared_ptr<MVX_Model> m_archive;
};
