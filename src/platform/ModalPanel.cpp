#include "platform/ModalPanel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace platform {

namespace {

ModalPanel::StandIn& standIn()
{
    static ModalPanel::StandIn installed;
    return installed;
}

QList<std::function<bool()>>& busyChecks()
{
    static QList<std::function<bool()>> checks;
    return checks;
}

// Settled once no check is busy on two polls in a row, so that what a finished animation
// released (a deferred delete, a queued call) has had a turn of the loop; or at the deadline.
std::function<bool()> settledOrLate()
{
    const QDeadlineTimer deadline(ModalPanel::limit);
    auto quietPolls = std::make_shared<int>(0);
    return [deadline, quietPolls] {
        *quietPolls = ModalPanel::settled() ? *quietPolls + 1 : 0;
        return *quietPolls >= 2 || deadline.hasExpired();
    };
}

// The window a closed panel leaves the keyboard to.
QWindow* windowBelow(const QWindow* panel)
{
    if (QWindow* owner = panel->transientParent(); owner && owner->isVisible())
        return owner;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window != panel && window->isVisible() && window->type() == Qt::Window)
            return window;
    return nullptr;
}

class FocusReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* panel = event->type() == QEvent::Hide ? qobject_cast<QWindow*>(watched) : nullptr;
        if (!panel || panel->modality() == Qt::NonModal)
            return false;
        const QPointer<QWindow> below = windowBelow(panel);
        if (!below)
            return false;
        // Once the panel is gone, and only when no shown window has the keyboard: what a
        // window manager or the user gave it to keeps it.
        QMetaObject::invokeMethod(
            this,
            [below] {
                const QWindow* focus = QGuiApplication::focusWindow();
                if (below && below->isVisible() && (!focus || !focus->isVisible()))
                    below->requestActivate();
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void ModalPanel::returnFocusAfterPanels()
{
    static QPointer<FocusReturn> installed;
    if (installed || !QGuiApplication::instance())
        return;
    installed = new FocusReturn(QGuiApplication::instance());
    QGuiApplication::instance()->installEventFilter(installed);
}

void ModalPanel::runInPlaceOfPanel(QObject* parent)
{
    if (!QCoreApplication::instance())
        return;
    const std::function<bool()> done = settledOrLate();
    if (const StandIn shown = standIn()) {
        shown(parent, done);
        return;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(pollInterval);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start();
    loop.exec();
}

void ModalPanel::setStandIn(StandIn shown)
{
    standIn() = std::move(shown);
}

void ModalPanel::addBusyCheck(std::function<bool()> busy)
{
    busyChecks().append(std::move(busy));
}

bool ModalPanel::settled()
{
    for (const auto& busy : busyChecks())
        if (busy && busy())
            return false;
    return true;
}

} // namespace platform
