#include "platform/FileChooser.h"

#include "platform/ModalPanel.h"

#include <QMutex>
#include <QMutexLocker>
#include <QQueue>

#include <optional>

namespace platform {

namespace {
QMutex g_mutex;
FileChooser::Presenter g_presenter;
QQueue<QString> g_answers;
FileRequest g_lastRequest;
} // namespace

QString FileChooser::choose(const FileRequest& request)
{
    Presenter presenter;
    std::optional<QString> queued;
    {
        QMutexLocker lock(&g_mutex);
        g_lastRequest = request;
        if (!g_answers.isEmpty())
            queued = g_answers.dequeue();
        presenter = g_presenter;
    }
    if (queued) {
        // The answer comes after the time a real panel would be up, with all that happens then.
        ModalPanel::runInPlaceOfPanel(request.parent);
        return *queued;
    }
    return presenter ? presenter(request) : QString();
}

void FileChooser::setPresenter(Presenter presenter)
{
    QMutexLocker lock(&g_mutex);
    g_presenter = std::move(presenter);
}

void FileChooser::queueAnswer(const QString& path)
{
    QMutexLocker lock(&g_mutex);
    g_answers.enqueue(path);
}

int FileChooser::queuedAnswerCount()
{
    QMutexLocker lock(&g_mutex);
    return int(g_answers.size());
}

void FileChooser::clearQueuedAnswers()
{
    QMutexLocker lock(&g_mutex);
    g_answers.clear();
}

FileRequest FileChooser::lastRequest()
{
    QMutexLocker lock(&g_mutex);
    return g_lastRequest;
}

} // namespace platform
