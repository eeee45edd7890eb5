#include "uikit/popover/ModalPanelStandIn.h"

#include "platform/ModalPanel.h"
#include "uikit/popover/PKPopoverController.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

using namespace Qt::Literals::StringLiterals;

QWidget* modalPanelOwner(QObject* requester)
{
    auto* widget = qobject_cast<QWidget*>(requester);
    QWidget* owner = widget ? widget->window() : nullptr;
    while (owner && owner->windowType() == Qt::Tool) {
        const QWindow* handle = owner->windowHandle();
        const QWindow* below = handle ? handle->transientParent() : nullptr;
        QWidget* next = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (below && window->windowHandle() == below)
                next = window;
        if (!next && owner->parentWidget())
            next = owner->parentWidget()->window();
        if (!next || next == owner)
            break;
        owner = next;
    }
    return owner;
}

void installModalPanelStandIn()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    platform::ModalPanel::addBusyCheck([] { return PKPopoverController::anyPopoverMoving(); });
    platform::ModalPanel::setStandIn([](QObject* parent, const std::function<bool()>& settled) {
        QWidget* owner = modalPanelOwner(parent);
        // Owned by the window, as a real panel is: it goes when the window goes, and then
        // `exec` returns.
        const QPointer<QDialog> panel = new QDialog(owner);
        panel->setObjectName(u"modalPanelStandIn"_s);
        panel->setWindowModality(Qt::ApplicationModal);
        panel->resize(320, 200);
        auto* poll = new QTimer(panel);
        poll->setInterval(platform::ModalPanel::pollInterval);
        QObject::connect(poll, &QTimer::timeout, panel, [panel, settled] {
            if (settled())
                panel->accept();
        });
        poll->start();
        panel->exec();
        delete panel.data();
    });
}
