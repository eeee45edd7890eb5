#include "app/shell/DataFolderWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <optional>

#include <sys/stat.h>

namespace {

// Each folder and the folders above it, from the top down: a folder replaced while the one
// above it is watched is seen there, even before its own watch is set.
QStringList withFoldersAbove(const QStringList& folders)
{
    QStringList all;
    for (const QString& folder : folders) {
        QStringList way;
        for (QString at = folder;;) {
            way.prepend(at);
            const QString above = QFileInfo(at).path();
            if (above == at)
                break;
            at = above;
        }
        for (const QString& at : std::as_const(way)) {
            if (!all.contains(at))
                all.append(at);
        }
    }
    return all;
}

// The device and inode of the folder at `path`; none when no folder is there.
std::optional<std::pair<quint64, quint64>> folderIdentity(const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return std::pair { quint64(status.st_dev), quint64(status.st_ino) };
}

} // namespace

DataFolderWatch::DataFolderWatch(std::function<QStringList()> folders, std::function<void()> changed)
    : m_folders(std::move(folders)), m_changed(std::move(changed)), m_watcher(new QFileSystemWatcher(this))
{
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& folder) {
        // What else comes and goes in a folder on the way is none of the data file's business:
        // the way is worked out again only when a folder on it was replaced, or in a data
        // folder, where a link to the data file may lead elsewhere now.
        const bool dataFolder = m_dataFolders.contains(folder);
        const bool wayChanged = wayChangedAt(folder) || (dataFolder && cleaned(m_folders()) != m_dataFolders);
        if ((wayChanged && followFolders().rewatched) || dataFolder)
            m_changed();
    });
}

QStringList DataFolderWatch::cleaned(QStringList folders)
{
    for (QString& folder : folders)
        folder = QDir::cleanPath(folder);
    return folders;
}

bool DataFolderWatch::wayChangedAt(const QString& folder) const
{
    for (const QString& way : m_way) {
        if (way == folder || QFileInfo(way).path() != folder)
            continue;
        const auto identity = folderIdentity(way);
        const auto watched = m_watched.constFind(way);
        if (identity.has_value() != (watched != m_watched.cend()) || (identity && *watched != *identity))
            return true;
    }
    return false;
}

DataFolderWatch::Followed DataFolderWatch::followFolders()
{
    m_dataFolders = cleaned(m_folders());
    m_way = withFoldersAbove(m_dataFolders);
    for (const QString& folder : m_watcher->directories()) {
        if (!m_way.contains(folder)) {
            m_watcher->removePath(folder);
            m_watched.remove(folder);
        }
    }
    Followed followed;
    for (const QString& folder : std::as_const(m_way)) {
        const auto identity = folderIdentity(folder);
        // A folder moved away or deleted has lost its watch already, or loses it in a moment.
        const bool watched = m_watcher->directories().contains(folder);
        if (watched && identity && m_watched.value(folder) == *identity)
            continue;
        if (watched)
            m_watcher->removePath(folder);
        m_watched.remove(folder);
        if (!identity)
            continue;
        if (m_watcher->addPath(folder)) {
            m_watched.insert(folder, *identity);
            followed.rewatched = true;
        } else if (m_dataFolders.contains(folder)) {
            followed.unwatched.append(folder);
        }
    }
    return followed;
}
