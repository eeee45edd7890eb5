#include "uikit/extensions/AlertPopover.h"

#include "uikit/popover/PKPopoverController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

struct AlertState {
    AlertPopover::CompletionBlock completionBlock;
    QPointer<PKPopoverController> parentPopover;
    QPointer<QWidget> targetView;
    QList<QMetaObject::Connection> buttonConnections;
};

struct PopoverAlerts {
    QHash<QMessageBox*, AlertState> states;
    QPointer<PKPopoverController> shownPopover;
    QPointer<QMessageBox> shownAlert;
    QList<QPointer<QMessageBox>> displacedAlerts;
};

PopoverAlerts& alerts()
{
    static PopoverAlerts instance;
    return instance;
}

// Takes the alert out of its popover (which owns its content) and lets the popover go.
void releasePopover(QMessageBox* alert)
{
    AlertState& state = alerts().states[alert];
    for (const auto& connection : std::as_const(state.buttonConnections))
        QObject::disconnect(connection);
    state.buttonConnections.clear();
    if (PKPopoverController* popover = state.parentPopover) {
        popover->setDidCloseBlock({});
        popover->forceClosePopover();
        alert->hide();
        alert->setParent(nullptr, Qt::Dialog);
        popover->deleteLater();
    }
    state.parentPopover = nullptr;
}

} // namespace

void AlertPopover::runAsPopoverForView(QMessageBox* alert, QWidget* view, CompletionBlock completionBlock)
{
    runAsPopoverForView(alert, view, platform::RectEdge::MaxY, std::move(completionBlock));
}

void AlertPopover::runAsPopoverForView(
    QMessageBox* alert, QWidget* view, platform::RectEdge, CompletionBlock completionBlock)
{
    if (!alert)
        return;
    PopoverAlerts& all = alerts();
    if (!all.states.contains(alert))
        QObject::connect(alert, &QObject::destroyed, qApp, [alert] { alerts().states.remove(alert); });
    releasePopover(alert);
    AlertState& state = all.states[alert];
    state.completionBlock = std::move(completionBlock);
    state.targetView = view;

    // The popover owns its content: a container that holds the alert until it is answered.
    auto* container = new QWidget;
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    alert->setParent(container, Qt::Widget);
    layout->addWidget(alert);
    for (QAbstractButton* button : alert->buttons()) {
        state.buttonConnections.append(QObject::connect(button, &QAbstractButton::clicked, alert,
            [alert, button] { stopSynchronousPopoverAlert(alert, button); }));
    }
    alert->show();
    container->adjustSize();

    auto* popover = new PKPopoverController(container);
    // Only an answer closes it, never a stray key or focus change.
    popover->setClosesWhenEscapeKeyPressed(false);
    popover->setClosesWhenPopoverResignsKey(false);
    popover->setClosesWhenApplicationBecomesInactive(false);
    popover->setAnimates(false);
    state.parentPopover = popover;

    if (all.shownPopover && all.shownAlert && all.shownAlert != alert) {
        QMessageBox* displaced = all.shownAlert;
        all.displacedAlerts.append(displaced);
        releasePopover(displaced);
    }
    const QRectF anchor = view ? QRectF(view->rect()) : QRectF();
    popover->showRelativeToRect(anchor, view, platform::RectEdge::MaxY);
    all.shownPopover = popover;
    all.shownAlert = alert;
}

void AlertPopover::stopSynchronousPopoverAlert(QMessageBox* alert, QAbstractButton* button)
{
    if (!alert)
        return;
    const int response = static_cast<int>(1000 + alert->buttons().indexOf(button));
    const CompletionBlock block = completionBlock(alert);
    if (block)
        block(response);
    releasePopover(alert);
    PopoverAlerts& all = alerts();
    all.shownPopover = nullptr;
    all.shownAlert = nullptr;
    checkForPreviouslyShownAlerts();
}

void AlertPopover::checkForPreviouslyShownAlerts()
{
    PopoverAlerts& all = alerts();
    while (!all.displacedAlerts.isEmpty()) {
        QPointer<QMessageBox> alert = all.displacedAlerts.takeLast();
        if (!alert)
            continue;
        const AlertState state = all.states.value(alert);
        runAsPopoverForView(alert, state.targetView, platform::RectEdge::MaxY, state.completionBlock);
        return;
    }
}

AlertPopover::CompletionBlock AlertPopover::completionBlock(QMessageBox* alert)
{
    return alerts().states.value(alert).completionBlock;
}

PKPopoverController* AlertPopover::parentPopover(QMessageBox* alert)
{
    return alerts().states.value(alert).parentPopover;
}

QWidget* AlertPopover::targetView(QMessageBox* alert)
{
    return alerts().states.value(alert).targetView;
}

QMessageBox* AlertPopover::shownAlert()
{
    return alerts().shownAlert;
}
