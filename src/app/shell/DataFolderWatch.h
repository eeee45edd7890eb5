#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QSocketNotifier;

/// Watches the folders a data file is found in and every folder above them, and follows a
/// folder that another takes the place of (renamed there, or made anew after the old one was
/// deleted): from then on the new one is watched. Lives on the thread it is moved to.
class DataFolderWatch : public QObject {
public:
    /// `folders` names the folders to watch; it is asked again at each change, since a link on
    /// the way may lead elsewhere by then. `changed` runs after a change in one of them, or
    /// once the watch follows one that was replaced.
    DataFolderWatch(std::function<QStringList()> folders, std::function<void()> changed);
    ~DataFolderWatch() override;
    DataFolderWatch(const DataFolderWatch&) = delete;
    DataFolderWatch& operator=(const DataFolderWatch&) = delete;

    /// Watches what is at the folders' paths now. Returns the folders of `folders` that are
    /// there but cannot be watched.
    QStringList follow() { return followFolders().unwatched; }

private:
    struct Followed {
        QStringList unwatched;
        /// Whether a watch was set anew: a folder on the way may have been replaced.
        bool rewatched = false;
    };
    /// A folder's watch, and the device and inode of the folder as it was when it was set.
    struct Watched {
        int descriptor = -1;
        std::pair<quint64, quint64> identity;
    };

    Followed followFolders();
    void readEvents();
    void unwatch(const QString& folder);
    /// Whether the folder on the way right below `folder` is no longer the one watched (a
    /// folder's own replacement shows in the folder above it).
    bool wayChangedAt(const QString& folder) const;
    static QStringList cleaned(QStringList folders);

    std::function<QStringList()> m_folders;
    std::function<void()> m_changed;
    /// The kernel's folder events, read as they come; -1 when none can be had.
    int m_events = -1;
    QSocketNotifier* m_notifier = nullptr;
    /// What `m_folders` named at the last change.
    QStringList m_dataFolders;
    /// Those folders and every folder above them.
    QStringList m_way;
    /// Each folder watched. Two paths to one folder (a bind mount) share its watch.
    QHash<QString, Watched> m_watched;
};
