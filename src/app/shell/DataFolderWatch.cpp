#include "app/shell/DataFolderWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <optional>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What changes a folder on the way: an entry made, removed, renamed or changed, or the folder
// itself deleted or moved.
constexpr uint32_t folderEvents = IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

DataFolderWatch::DataFolderWatch(std::function<QStringList()> folders, std::function<void()> changed)
    : m_folders(std::move(folders))
    , m_changed(std::move(changed))
    , m_events(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_events >= 0) {
        m_notifier = new QSocketNotifier(m_events, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &DataFolderWatch::readEvents);
    }
}

DataFolderWatch::~DataFolderWatch()
{
    delete m_notifier;
    if (m_events >= 0)
        ::close(m_events);
}

void DataFolderWatch::readEvents()
{
    // The kernel drops events once its queue is full and says so once; a watch it ended (the
    // folder deleted, or its file system unmounted) sees nothing more. Either way the changes
    // to go by are lost, and the whole way is worked out again.
    bool lost = false;
    bool overflowed = false;
    QStringList changed;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(m_events, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            overflowed = overflowed || (event->mask & IN_Q_OVERFLOW);
            for (auto watched = m_watched.begin(); watched != m_watched.end();) {
                if (watched->descriptor != event->wd) {
                    ++watched;
                    continue;
                }
                if (!changed.contains(watched.key()))
                    changed.append(watched.key());
                if (event->mask & IN_IGNORED) {
                    lost = true;
                    watched = m_watched.erase(watched);
                } else {
                    ++watched;
                }
            }
        }
    }
    // What else comes and goes in a folder on the way is none of the data file's business:
    // the way is worked out again only when a folder on it was replaced, or in a data folder,
    // where a link to the data file may lead elsewhere now.
    bool wayChanged = overflowed || lost;
    bool inDataFolder = false;
    for (const QString& folder : std::as_const(changed)) {
        inDataFolder = inDataFolder || m_dataFolders.contains(folder);
        wayChanged = wayChanged || wayChangedAt(folder);
    }
    wayChanged = wayChanged || (inDataFolder && cleaned(m_folders()) != m_dataFolders);
    if ((wayChanged && followFolders().rewatched) || inDataFolder || overflowed)
        m_changed();
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
        if (identity.has_value() != (watched != m_watched.cend())
            || (identity && watched->identity != *identity))
            return true;
    }
    return false;
}

void DataFolderWatch::unwatch(const QString& folder)
{
    const auto watched = m_watched.constFind(folder);
    if (watched == m_watched.cend())
        return;
    const int descriptor = watched->descriptor;
    m_watched.erase(watched);
    for (const Watched& other : std::as_const(m_watched)) {
        if (other.descriptor == descriptor)
            return;
    }
    ::inotify_rm_watch(m_events, descriptor);
}

DataFolderWatch::Followed DataFolderWatch::followFolders()
{
    m_dataFolders = cleaned(m_folders());
    m_way = withFoldersAbove(m_dataFolders);
    for (const QString& folder : m_watched.keys()) {
        if (!m_way.contains(folder))
            unwatch(folder);
    }
    Followed followed;
    for (const QString& folder : std::as_const(m_way)) {
        const auto identity = folderIdentity(folder);
        if (const auto watched = m_watched.constFind(folder);
            watched != m_watched.cend() && identity && watched->identity == *identity)
            continue;
        // The kernel goes on watching a folder moved away: its watch goes here.
        unwatch(folder);
        if (!identity)
            continue;
        const int descriptor = m_events < 0
            ? -1
            : ::inotify_add_watch(m_events, QFile::encodeName(folder).constData(), folderEvents);
        if (descriptor >= 0) {
            m_watched.insert(folder, Watched { descriptor, *identity });
            followed.rewatched = true;
        } else if (m_dataFolders.contains(folder)) {
            followed.unwatched.append(folder);
        }
    }
    return followed;
}
