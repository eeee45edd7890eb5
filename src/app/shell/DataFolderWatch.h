#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QFileSystemWatcher;

/// Watches the folders a data file is found in and every folder above them, and follows a
/// folder that another takes the place of (renamed there, or made anew after the old one was
/// deleted): from then on the new one is watched. Lives on the thread it is moved to.
class DataFolderWatch : public QObject {
public:
    /// `folders` names the folders to watch; it is asked again at each change, since a link on
    /// the way may lead elsewhere by then. `changed` runs after a change in one of them, or
    /// once the watch follows one that was replaced.
    DataFolderWatch(std::function<QStringList()> folders, std::function<void()> changed);

    /// Watches what is at the folders' paths now. Returns the folders of `folders` that are
    /// there but cannot be watched.
    QStringList follow() { return followFolders().unwatched; }

private:
    struct Followed {
        QStringList unwatched;
        /// Whether a watch was set anew: a folder on the way may have been replaced.
        bool rewatched = false;
    };

    Followed followFolders();
    /// Whether the folder on the way right below `folder` is no longer the one watched (a
    /// folder's own replacement shows in the folder above it).
    bool wayChangedAt(const QString& folder) const;
    static QStringList cleaned(QStringList folders);

    std::function<QStringList()> m_folders;
    std::function<void()> m_changed;
    QFileSystemWatcher* m_watcher;
    /// What `m_folders` named at the last change.
    QStringList m_dataFolders;
    /// Those folders and every folder above them.
    QStringList m_way;
    /// The device and inode of each folder watched, as it was when its watch was set.
    QHash<QString, std::pair<quint64, quint64>> m_watched;
};
