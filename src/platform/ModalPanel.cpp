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

// Windows that take the keyboard when they show: not tool tips, menus or splash screens.
bool takesKeyboard(const QWindow* window)
{
    const Qt::WindowType type = window->type();
    return !(window->flags() & Qt::WindowDoesNotAcceptFocus)
        && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::Sheet);
}

class FocusReturn : public QObject {
public:
    explicit FocusReturn(QGuiApplication* application) : QObject(application)
    {
        connect(application, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
            m_hadKeyboard = m_hadKeyboard || focus;
            if (focus)
                m_lastKeyboard = focus;
            m_shownSince.clear();
            // A click into a window below a window-modal panel gives that window the keyboard:
            // the platform hands it on to application-modal panels only. The panel keeps it, or
            // its keys reach nothing and, once it closes, neither does Ctrl+Q.
            if (QWindow* modal = QGuiApplication::modalWindow(); focus && modal && modal != focus
                && modal->isVisible() && focus->isAncestorOf(modal, QWindow::IncludeTransients))
                modal->requestActivate();
        });
    }

    QWindow* lastKeyboard() const { return m_lastKeyboard; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every event of the program passes here: the cheap test first.
        if (event->type() != QEvent::Show)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isTopLevel())
            return false;
        // Its hide event comes once it is unmapped: too late for handBack.
        connect(
            window, &QWindow::visibleChanged, this, &FocusReturn::visibilityChanged, Qt::UniqueConnection);
        if (takesKeyboard(window) && (QGuiApplication::focusWindow() || !m_hadKeyboard)) {
            m_shownSince.removeIf(
                [](const QPointer<QWindow>& shown) { return !shown || !shown->isVisible(); });
            m_shownSince.append(window);
        }
        return false;
    }

private:
    // The window has the keyboard, or was shown while the program had it (or had not had it
    // yet) and is about to get it. One that hides while the user works in another program
    // must not pull this one forward.
    bool holdsKeyboard(const QWindow* window) const
    {
        const QWindow* focus = QGuiApplication::focusWindow();
        return (focus && (focus == window || window->isAncestorOf(focus))) || m_shownSince.contains(window);
    }

    void visibilityChanged(bool visible)
    {
        const auto* window = qobject_cast<const QWindow*>(sender());
        if (!visible && window && holdsKeyboard(window))
            handBack(window);
    }

    // While the panel is still mapped and has the keyboard: once it is unmapped, a window
    // manager hands the keyboard to the window that had it before the panel, which may be
    // another program's (the panel came forward over it), and a request of ours loses to it.
    void handBack(const QWindow* panel)
    {
        QWindow* below = windowBelow(panel);
        if (!below)
            return;
        // Unless another shown window has the keyboard or one shown before is about to take
        // it. The focus this program knows of may lag behind: the window below is asked even
        // when it seems to have the keyboard.
        const QWindow* focus = QGuiApplication::focusWindow();
        if (focus && focus != below && focus->isVisible())
            return;
        // A panel still open, also one opened while no window had the keyboard, takes it.
        if (const QWindow* modal = QGuiApplication::modalWindow();
            modal && modal != below && modal->isVisible())
            return;
        for (const QPointer<QWindow>& shown : std::as_const(m_shownSince))
            if (shown && shown != below && shown->isVisible())
                return;
        below->requestActivate();
    }

    // Windows shown since the keyboard last moved, while the program had it: they are about
    // to take it.
    QList<QPointer<QWindow>> m_shownSince;
    bool m_hadKeyboard = false;
    // Kept while another program has the keyboard, for when this one comes forward.
    QPointer<QWindow> m_lastKeyboard;
};

QPointer<FocusReturn>& installedFocusReturn()
{
    static QPointer<FocusReturn> installed;
    return installed;
}

} // namespace

void ModalPanel::returnFocusAfterPanels()
{
    QPointer<FocusReturn>& installed = installedFocusReturn();
    if (installed)
        return;
    auto* application = qobject_cast<QGuiApplication*>(QGuiApplication::instance());
    if (!application)
        return;
    installed = new FocusReturn(application);
    application->installEventFilter(installed);
}

QWindow* ModalPanel::keyboardWindow()
{
    if (QWindow* focus = QGuiApplication::focusWindow())
        return focus;
    const FocusReturn* installed = installedFocusReturn();
    QWindow* last = installed ? installed->lastKeyboard() : nullptr;
    return last && last->isVisible() ? last : nullptr;
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
