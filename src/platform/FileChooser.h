#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

struct FileRequest {
    enum class Mode { Open, Save, Directory };
    Mode mode = Mode::Open;
    QString title;
    /// Folder to start in; empty for the user's home.
    QString directory;
    /// File name proposed when saving.
    QString suggestedName;
    /// Filters such as "JSON files (*.json)".
    QStringList nameFilters;
    /// The widget the dialog belongs to; may be null.
    QObject* parent = nullptr;
};

/// Asks the user for a file. The widget layer installs the presenter that shows the
/// dialog; tests queue the answers instead, so that no test waits on a modal dialog.
class FileChooser {
public:
    using Presenter = std::function<QString(const FileRequest&)>;

    /// The chosen absolute path, or an empty string when the user cancelled.
    /// A queued answer is taken first, after a nested event loop as long as a real panel's
    /// (see `ModalPanel`): the caller's objects may be gone when it returns. With neither
    /// answer nor presenter, cancels.
    static QString choose(const FileRequest& request);

    static void setPresenter(Presenter presenter);

    /// The next `choose` returns `path` without asking (an empty path cancels).
    static void queueAnswer(const QString& path);
    static int queuedAnswerCount();
    static void clearQueuedAnswers();
    /// The request of the most recent `choose`, answered or not.
    static FileRequest lastRequest();
};

} // namespace platform
