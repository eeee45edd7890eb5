#pragma once

// What the data file's writes and the copies kept for safety share; the copies' own interface
// (`keepCopy`, `keptCopies`) is in FileIO.h.

#include "platform/Expected.h"
#include "platform/FileIO.h"

#include <QString>

#include <optional>

namespace platform::detail {

/// A free name for a new copy of `path`: "<path>.<kind>-<yyyyMMdd-HHmmss>", then "-N" within
/// one second, after the highest number kept; an error text when a thousand are taken.
Expected<QString> freeCopyPath(const QString& path, const QString& kind);

/// Keeps the bytes of the file at `source` as a copy of `path` of `kind`, then removes the
/// oldest copies beyond `keep`. The copy's path, empty when `source` does not exist, or the
/// error text.
Expected<QString> keepCopyOf(const QString& source, const QString& path, const QString& kind,
    std::optional<int> keep, const AtomicFileFactory& factory);

} // namespace platform::detail
