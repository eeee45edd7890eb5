#include "platform/ModalPanel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QList>
#include <QTimer>

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

} // namespace

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
