#include "platform/FileCopies.h"

#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

// A copy's name after "<file>.<kind>-": the time stamp, then "-N" for a second copy within
// the same second. Ordered by the two, so that "-10" comes after "-9".
struct CopyOrder {
    QString stamp;
    int number = 1;
    QString path;
};

CopyOrder copyOrder(const QString& path, qsizetype prefixLength)
{
    const QString rest = QFileInfo(path).fileName().mid(prefixLength);
    const qsizetype dash = rest.indexOf(u'-', 9);
    bool ok = false;
    const int number = dash < 0 ? 1 : rest.mid(dash + 1).toInt(&ok);
    return { dash < 0 ? rest : rest.left(dash), ok ? number : 1, path };
}

} // namespace

namespace detail {

// A name for a new copy of `path`: "<path>.<kind>-<stamp>", then "-N" within one second.
Expected<QString> freeCopyPath(const QString& path, const QString& kind)
{
    const QString stamp = Clock::now().toString(u"yyyyMMdd-HHmmss"_s);
    const QString stem = keptCopyPrefix(path, kind) + stamp;
    // After the highest number of the second: a name the rotation freed would sort before
    // the copies still kept and be the next one removed.
    const qsizetype prefixLength = QFileInfo(keptCopyPrefix(path, kind)).fileName().size();
    int highest = 0;
    for (const QString& kept : keptCopies(path, kind)) {
        const CopyOrder order = copyOrder(kept, prefixLength);
        if (order.stamp == stamp)
            highest = std::max(highest, order.number);
    }
    QString copyPath;
    for (int n = highest + 1; copyPath.isEmpty() || QFileInfo::exists(copyPath); ++n) {
        if (n >= highest + 1000)
            return Unexpected(Strings::tr("there are already %1 copies named \"%2\"").arg(n - 1).arg(stem));
        copyPath = n == 1 ? stem : stem + u'-' + QString::number(n);
    }
    return copyPath;
}

// Keeps the bytes of the file at `source` as a copy of `path`.
Expected<QString> keepCopyOf(const QString& source, const QString& path, const QString& kind,
    std::optional<int> keep, const AtomicFileFactory& factory)
{
    const QFileInfo info(source);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const Expected<FileContents> contents = readRegularFile(source);
    if (!contents)
        return Unexpected(contents.error());
    const Expected<QString> copyPath = freeCopyPath(path, kind);
    if (!copyPath)
        return copyPath;
    if (MaybeError failed
        = writeFileAtomically(*copyPath, contents->bytes, { copyModeFor(source), factory, {}, {} }))
        return Unexpected(*failed);

    if (keep) {
        const QStringList copies = keptCopies(path, kind);
        for (qsizetype i = 0; i < copies.size() - *keep; ++i) {
            // A copy too many costs only room; it is no reason to fail the change.
            if (!QFile::remove(copies.at(i)))
                qWarning("Could not remove the old copy %s", qPrintable(copies.at(i)));
        }
    }
    return copyPath;
}

} // namespace detail

QFileDevice::Permissions copyModeFor(const QString& path)
{
    return QFile::permissions(path) & privateFileMode;
}

Expected<QString> keepCopy(
    const QString& path, const QString& kind, std::optional<int> keep, const AtomicFileFactory& factory)
{
    return detail::keepCopyOf(path, path, kind, keep, factory);
}

QString keptCopyPrefix(const QString& path, const QString& kind)
{
    return path + u'.' + kind + u'-';
}

QStringList keptCopies(const QString& path, const QString& kind)
{
    const QFileInfo info(path);
    const QString prefix = QFileInfo(keptCopyPrefix(path, kind)).fileName();
    const QDir folder = info.dir();
    QList<CopyOrder> copies;
    for (const QString& name :
        folder.entryList({ prefix + u'*' }, QDir::Files | QDir::Hidden | QDir::System)) {
        // "yyyyMMdd-HHmmss", then an optional "-N".
        if (name.size() >= prefix.size() + 15 && name.at(prefix.size() + 8) == u'-')
            copies.append(copyOrder(folder.filePath(name), prefix.size()));
    }
    std::sort(copies.begin(), copies.end(), [](const CopyOrder& a, const CopyOrder& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.number < b.number;
    });
    QStringList paths;
    for (const CopyOrder& copy : copies)
        paths.append(copy.path);
    return paths;
}

} // namespace platform
